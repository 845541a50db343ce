#pragma once

#include <QString>

#include "generate/GenerationContext.h"

// The HTML the user pastes into a page: the core script include (and, for an HTML5 playlist, the
// stylesheet), plain or, with "Encrypt HTML", as an escaped document.write statement. Lines are
// joined by CR LF; no line break ends it.
class EmbedCodeBuilder {
  public:
    static QString build(const GenerationContext& ctx);
};
