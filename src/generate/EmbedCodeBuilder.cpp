#include "generate/EmbedCodeBuilder.h"

#include <QStringList>

#include "formats/Escaping.h"
#include "generate/CoreScriptWriter.h"
#include "generate/ScriptEscaper.h"

QString EmbedCodeBuilder::build(const GenerationContext& ctx) {
    const GenerationSnapshot& snap = ctx.snapshot;
    // The address lands in attributes of the user's page: a quote or a "<" in it would end them,
    // an accent would change with the page's character set.
    const QString server = Escaping::xmlAttribute(snap.ServerPath);
    const QString coreSrc = server + CoreScriptWriter::fileName(snap.GenerationTag);
    QStringList lines;
    if (ctx.isPlaylist() && snap.UseHtml5)
        lines << QStringLiteral("<link rel=\"stylesheet\" href=\"") + server +
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
