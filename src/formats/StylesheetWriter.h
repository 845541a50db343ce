#pragma once

#include <QString>

#include "formats/GenerationContext.h"

// Writes zevostyle.css, which lays out the HTML5 playlist player: the video container, the list
// beside it (Right), below it (Bottom) or hidden (Invisible), and the list items.
class StylesheetWriter {
  public:
    // Replaces an earlier zevostyle.css; the text is built first, so a size that overflows leaves
    // the old file alone.
    static void writePlayerStylesheet(const GenerationContext& ctx);

    // The whole stylesheet, without its line end.
    static QString text(const GenerationContext& ctx);
};
