#include "formats/StylesheetWriter.h"

#include <QStringList>

#include "platform/Int16.h"

namespace {

QString px(qint16 value) {
    return QString::number(value) + QStringLiteral("px");
}

QString textRule(const GenerationSnapshot& s, bool coloured) {
    return QStringLiteral(
               ".litable{width:100%;padding:0px;border:0px;text-align:left;"
               "font-family:Verdana,Arial;font-size:") +
           px(s.PlayListFontSize) +
           (coloured ? QStringLiteral(";letter-spacing:1px;color:#FFFFFF}")
                     : QStringLiteral(";letter-spacing:1px;}"));
}

// The HTML5 player has no skin bar, so the container is the bare video size. A fluid container
// has no width of its own: a fixed one would hold the page's table open on a narrow screen, while
// the floating box takes its video's width up to the chosen one, and the video's height.
QString videoRule(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    const QString size = ctx.settings.FluidSize
                             ? QStringLiteral("max-width:") + px(s.PlayerWidth)
                             : QStringLiteral("width:") + px(s.PlayerWidth) +
                                   QStringLiteral(";height:") + px(s.PlayerHeight);
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
QString bottomListRule(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    if (ctx.settings.FluidSize)
        return listRule(QStringLiteral("left"), kPageWidth, px(s.PlayerWidth),
                        px(s.PlaylistHeight));
    return listRule(QStringLiteral("left"), px(s.PlayerWidth), QString(), px(s.PlaylistHeight));
}

// 3 pixels narrower than the list's share of the table: room for its 1-pixel border. A fluid one
// that no longer fits beside the player goes below it, never wider than the page.
QString rightListRule(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    return listRule(QStringLiteral("right"), px(Int16::add(s.WidthPlaylist, qint16(-3))),
                    ctx.settings.FluidSize ? kPageWidth : QString(), px(s.PlayerHeight));
}

QString itemRule(const QString& cursor) {
    return QStringLiteral(
               ".zevolistscroll li{width:96%;background-color:#333333;"
               "padding:6px 6px 6px 6px;margin:0px 0px 0px 0px;cursor:") +
           cursor + QStringLiteral(";}");
}

// Rules 1 to 8 of a visible list; only the list container and the item rule differ by side.
QString visibleList(const GenerationContext& ctx, const QString& list, const QString& items) {
    return QStringList{
        textRule(ctx.snapshot, true),
        videoRule(ctx),
        list,
        QStringLiteral("ul{list-style-type:none;padding:0px;margin:1px;}"),
        QStringLiteral(".zevolistscroll{list-style:none;width:100%;height:100%;overflow:auto;"
                       "-webkit-overflow-scrolling:touch;position:relative;"
                       "background-color:#000000;}"),
        items,
        QStringLiteral(".zevolistscroll a{text-decoration:none;}"),
        QStringLiteral(".zevolistscroll a:hover li{background-color:#454545 !important;}"),
    }
        .join(QString());
}

}  // namespace

QString StylesheetWriter::text(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    switch (ctx.playlist.position) {
        case PlaylistPosition::Bottom:
            return visibleList(ctx, bottomListRule(ctx), itemRule(QStringLiteral("pointer")));
        case PlaylistPosition::Right:
            return visibleList(ctx, rightListRule(ctx), itemRule(QStringLiteral(" pointer")));
        case PlaylistPosition::Invisible:
            break;
    }
    return textRule(s, false) + videoRule(ctx) + QStringLiteral(".listcontainer{display:none}");
}

OutputFile StylesheetWriter::playerStylesheet(const GenerationContext& ctx) {
    const QString name = QStringLiteral("zevostyle.css");
    return OutputFile::ofLines(ctx.outputFolder + name, {text(ctx)}, name);
}
