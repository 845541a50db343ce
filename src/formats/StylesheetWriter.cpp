#include "formats/StylesheetWriter.h"

#include <QStringList>

#include "platform/FileOps.h"
#include "platform/Int16.h"
#include "platform/TextFile.h"

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
// may shrink with the page, and its height is then the video's, which keeps its shape.
QString videoRule(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    const QString height = ctx.settings.FluidSize ? QStringLiteral(";max-width:100%")
                                                  : QStringLiteral(";height:") + px(s.PlayerHeight);
    return QStringLiteral(".videocontainer{border:0px;background-color:#000000;width:") +
           px(s.PlayerWidth) + height + QStringLiteral(";float:left;}");
}

// A fluid list is never wider than the page, its border included; one at the right that no
// longer fits beside the player goes below it.
QString listRule(const GenerationContext& ctx, const QString& side, const QString& width,
                 const QString& height) {
    const QString fluid =
        ctx.settings.FluidSize ? QStringLiteral(";max-width:calc(100% - 2px)") : QString();
    return QStringLiteral(".listcontainer{display:inline;position:relative;float:") + side +
           QStringLiteral(";border:#CCCCCC solid 1px;background-color:#000000;width:") + width +
           fluid + QStringLiteral(";height:") + height + QStringLiteral(";}");
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
            return visibleList(
                ctx, listRule(ctx, QStringLiteral("left"), px(s.PlayerWidth), px(s.PlaylistHeight)),
                itemRule(QStringLiteral("pointer")));
        case PlaylistPosition::Right:
            // 3 pixels narrower than the list's share of the table: room for its 1-pixel border.
            return visibleList(
                ctx,
                listRule(ctx, QStringLiteral("right"), px(Int16::add(s.WidthPlaylist, qint16(-3))),
                         px(s.PlayerHeight)),
                itemRule(QStringLiteral(" pointer")));
        case PlaylistPosition::Invisible:
            break;
    }
    return textRule(s, false) + videoRule(ctx) + QStringLiteral(".listcontainer{display:none}");
}

void StylesheetWriter::writePlayerStylesheet(const GenerationContext& ctx) {
    const QString css = text(ctx);
    const QString path = ctx.outputFolder + QStringLiteral("zevostyle.css");
    FileOps::deleteMatching(ctx.outputFolder, QStringLiteral("zevostyle.css"));
    TextFile::writeLines(path, {css});
}
