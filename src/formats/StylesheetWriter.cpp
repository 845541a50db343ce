#include "formats/StylesheetWriter.h"

#include <QStringList>

#include "platform/Int16.h"

namespace {

QString px(qint16 value) {
    return QString::number(value) + QStringLiteral("px");
}

using Input = StylesheetWriter::Input;

QString textRule(const Input& in, bool coloured) {
    return QStringLiteral(
               ".litable{width:100%;padding:0px;border:0px;text-align:left;"
               "font-family:Verdana,Arial;font-size:") +
           px(in.fontSize) +
           (coloured ? QStringLiteral(";letter-spacing:1px;color:#FFFFFF}")
                     : QStringLiteral(";letter-spacing:1px;}"));
}

// The HTML5 player has no skin bar, so the container is the bare video size. A fluid container
// has no width of its own: a fixed one would hold the page's table open on a narrow screen, while
// the floating box takes its video's width up to the chosen one, and the video's height.
QString videoRule(const Input& in) {
    const QString size = in.fluidSize ? QStringLiteral("max-width:") + px(in.playerWidth)
                                      : QStringLiteral("width:") + px(in.playerWidth) +
                                            QStringLiteral(";height:") + px(in.playerHeight);
    return QStringLiteral(".videocontainer{border:0px;background-color:#000000;") + size +
           QStringLiteral(";float:left;}");
}

// The list's box; `maxWidth`, when not empty, keeps a fluid list within the player's width or
// the page's.
QString listRule(const QString& side, const QString& width, const QString& maxWidth,
                 const QString& height) {
    const QString limit = maxWidth.isEmpty() ? QString() : QStringLiteral(";max-width:") + maxWidth;
    return QStringLiteral(".listcontainer{display:inline;position:relative;float:") + side +
           QStringLiteral(";border:#CCCCCC solid 1px;background-color:#000000;width:") + width +
           limit + QStringLiteral(";height:") + height + QStringLiteral(";}");
}

// The page's width less the list's border.
const QString kPageWidth = QStringLiteral("calc(100% - 2px)");

// A list below the player is as wide as the player: a fluid one as wide as the page lets it be,
// up to the chosen width.
QString bottomListRule(const Input& in) {
    if (in.fluidSize)
        return listRule(QStringLiteral("left"), kPageWidth, px(in.playerWidth),
                        px(in.playlistHeight));
    return listRule(QStringLiteral("left"), px(in.playerWidth), QString(), px(in.playlistHeight));
}

// 3 pixels narrower than the list's share of the table: room for its 1-pixel border. A fluid one
// that no longer fits beside the player goes below it, never wider than the page.
QString rightListRule(const Input& in) {
    return listRule(QStringLiteral("right"), px(Int16::add(in.widthPlaylist, qint16(-3))),
                    in.fluidSize ? kPageWidth : QString(), px(in.playerHeight));
}

QString itemRule(const QString& cursor) {
    return QStringLiteral(
               ".zevolistscroll li{width:96%;background-color:#333333;"
               "padding:6px 6px 6px 6px;margin:0px 0px 0px 0px;cursor:") +
           cursor + QStringLiteral(";}");
}

// The rules of a visible list; only the list container and the item rule differ by side.
QString visibleList(const Input& in, const QString& list, const QString& items) {
    return QStringList{
        textRule(in, true),
        videoRule(in),
        list,
        QStringLiteral("ul{list-style-type:none;padding:0px;margin:1px;}"),
        QStringLiteral(".zevolistscroll{list-style:none;width:100%;height:100%;overflow:auto;"
                       "-webkit-overflow-scrolling:touch;position:relative;"
                       "background-color:#000000;}"),
        items,
        QStringLiteral(".zevolistscroll li:hover{background-color:#454545 !important;}"),
        // Inside the item: the scrolling list would cut off a ring drawn around it.
        QStringLiteral(".zevolistscroll li:focus-visible{outline:2px solid #FFFFFF;"
                       "outline-offset:-2px;}"),
    }
        .join(QString());
}

}  // namespace

QString StylesheetWriter::text(const Input& in) {
    switch (in.position) {
        case PlaylistPosition::Bottom:
            return visibleList(in, bottomListRule(in), itemRule(QStringLiteral("pointer")));
        case PlaylistPosition::Right:
            return visibleList(in, rightListRule(in), itemRule(QStringLiteral(" pointer")));
        case PlaylistPosition::Invisible:
            break;
    }
    return textRule(in, false) + videoRule(in) + QStringLiteral(".listcontainer{display:none}");
}

OutputFile StylesheetWriter::playerStylesheet(const Input& in) {
    const QString name = QStringLiteral("zevostyle.css");
    return OutputFile::ofLines(in.outputFolder + name, {text(in)}, name);
}
