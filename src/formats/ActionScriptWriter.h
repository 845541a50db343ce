#pragma once

#include <QStringList>
#include <optional>

#include "formats/GenerationContext.h"
#include "platform/OutputFile.h"

// Writes zevoacton<tag>.js, what happens when the video ends: either the visitor is sent to the
// RedirectURL, or the player is hidden and the user's own HTML is shown with a way back.
class ActionScriptWriter {
  public:
    // The script of the run's end-of-video action: showing the action code when there is one,
    // else sending to the RedirectURL when one is given, else none. It replaces every
    // zevoacton*.js of earlier runs, so the folder holds one.
    static std::optional<OutputFile> actionScript(const GenerationContext& ctx);

    static OutputFile redirectActionScript(const GenerationContext& ctx);
    static OutputFile showActionScript(const GenerationContext& ctx);

    static QStringList redirectLines(const GenerationContext& ctx);
    static QStringList showLines(const GenerationContext& ctx);
};
