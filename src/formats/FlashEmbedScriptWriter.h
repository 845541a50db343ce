#pragma once

#include <QStringList>

#include "formats/GenerationContext.h"
#include "platform/OutputFile.h"

// Writes zevoflashsv<tag>.js, the script that puts the Flash skin into the page's placeholder
// through SWFObject and tells the player where its configuration file lives.
class FlashEmbedScriptWriter {
  public:
    // It replaces the scripts of earlier runs (other tags), so the folder holds one.
    static OutputFile flashEmbedScript(const GenerationContext& ctx);

    static QStringList lines(const GenerationContext& ctx);
};
