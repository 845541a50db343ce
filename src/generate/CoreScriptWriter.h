#pragma once

#include <QString>
#include <QStringList>

#include "formats/GenerationContext.h"
#include "platform/OutputFile.h"

// The script the page loads ("zevocoresv" + tag + ".js"): it loads jQuery and SWFObject, writes the
// centred table with the Flash placeholder (and the HTML5 containers as its alternative content),
// includes the Flash embed script and the optional end-of-video script, and adds the optional
// social-sharing row.
class CoreScriptWriter {
  public:
    static QString fileName(const QString& tag);

    // This run's core script; it replaces the core scripts of earlier runs.
    static OutputFile coreScript(const GenerationContext& ctx);
    static QStringList lines(const GenerationContext& ctx);

    // code.txt, written when embedding on other sites is allowed.
    static OutputFile codeTxt(const GenerationContext& ctx);
    // Its one line, which the Flash player offers to visitors as its embed code.
    static QString codeTxtLine(const GenerationContext& ctx);

    // Wide enough for the player with its border, and for a playlist beside it.
    static qint16 tableWidth(const GenerationContext& ctx);
};
