#include "generate/EmbedCodeBuilder.h"

#include <QStringList>

#include "generate/CoreScriptWriter.h"
#include "generate/ScriptEscaper.h"

QString EmbedCodeBuilder::build(const GenerationContext& ctx) {
    const GenerationSnapshot& snap = ctx.snapshot;
    const QString coreSrc = snap.ServerPath + CoreScriptWriter::fileName(snap.GenerationTag);
    QStringList lines;
    if (ctx.isPlaylist() && snap.UseHtml5)
        lines << QStringLiteral("<link rel=\"stylesheet\" href=\"") + snap.ServerPath +
                     QStringLiteral("zevostyle.css\" type=\"text/css\">");
    if (ctx.settings.Encrypt) {
        // The statement writes this text; the leading blank and the double blank are part of it.
        const QString hidden = QStringLiteral(" <script type=\"text/javascript\"  src=\"") +
                               coreSrc + QStringLiteral("\"></script>");
        lines << QStringLiteral("<script type=\"text/javascript\">")
              << ScriptEscaper::escape(hidden) << QStringLiteral("</script>");
    } else {
        lines << QStringLiteral("<script type=\"text/javascript\" src=\"") + coreSrc +
                     QStringLiteral("\"></script>");
    }
    return lines.join(QStringLiteral("\r\n"));
}
