#pragma once

#include <QStringList>

#include "formats/GenerationContext.h"

// Writes zevoacton<tag>.js, what happens when the video ends: either the visitor is sent to the
// RedirectURL, or the player is hidden and the user's own HTML is shown with a way back.
class ActionScriptWriter {
  public:
    // Both remove every zevoacton*.js of earlier runs first, so the folder holds one.
    static void writeRedirectActionScript(const GenerationContext& ctx);
    static void writeShowActionScript(const GenerationContext& ctx);

    static QStringList redirectLines(const GenerationContext& ctx);
    static QStringList showLines(const GenerationContext& ctx);
};
