#pragma once

#include <QString>

#include "formats/GenerationContext.h"
#include "platform/OutputFile.h"

// Writes zevostyle.css, which lays out the HTML5 playlist player: the video container, the list
// beside it (Right), below it (Bottom) or hidden (Invisible), and the list items.
class StylesheetWriter {
  public:
    // The stylesheet as one line; it replaces an earlier zevostyle.css.
    static OutputFile playerStylesheet(const GenerationContext& ctx);

    // The whole stylesheet, without its line end.
    static QString text(const GenerationContext& ctx);
};
