#pragma once

#include <QStringList>

#include "formats/GenerationContext.h"

// Writes zevoflashsv<tag>.js, the script that puts the Flash skin into the page's placeholder
// through SWFObject and tells the player where its configuration file lives.
class FlashEmbedScriptWriter {
  public:
    // Removes the scripts of earlier runs (other tags) first, so the folder holds one.
    static void writeFlashEmbedScript(const GenerationContext& ctx);

    static QStringList lines(const GenerationContext& ctx);
};
