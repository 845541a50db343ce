#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "formats/GenerationContext.h"

// The writers of other files that the core script hands over to at fixed points of its run. An
// empty function means there is nothing to call.
struct CoreScriptHooks {
    std::function<void()> flashEmbedScript;
    std::function<void()> actionScript;
    std::function<void()> redirectScript;
};

// The script the page loads ("zevocoresv" + tag + ".js"): it loads jQuery and SWFObject, writes the
// centred table with the Flash placeholder (and the HTML5 containers as its alternative content),
// includes the Flash embed script and the optional end-of-video script, and adds the optional
// social-sharing row.
class CoreScriptWriter {
  public:
    static QString fileName(const QString& tag);

    // Deletes the core scripts of earlier runs, writes this run's one and, when embedding on other
    // sites is allowed, code.txt; the hooks run at their places in between.
    static void write(const GenerationContext& ctx, const CoreScriptHooks& hooks = {});

    // The lines of the core script; the hooks run at their places.
    static QStringList lines(const GenerationContext& ctx, const CoreScriptHooks& hooks = {});

    // The one line of code.txt, which the Flash player offers to visitors as its embed code.
    static QString codeTxtLine(const GenerationContext& ctx);

    // Wide enough for the player with its border, and for a playlist beside it.
    static qint16 tableWidth(const GenerationContext& ctx);
};
