#pragma once

#include "formats/ActionScriptWriter.h"
#include "formats/ConfigXmlWriter.h"
#include "formats/FlashEmbedScriptWriter.h"
#include "formats/Html5ScriptInput.h"
#include "formats/PlayerBox.h"
#include "formats/StylesheetWriter.h"
#include "generate/CoreScriptWriter.h"
#include "generate/TestPageWriter.h"

struct GenerationContext;

// What each writer of a run reads, taken from the run's context: the writers see only these
// values, so a writer's signature says what its file depends on.
class WriterInputs {
  public:
    static ActionScriptWriter::Input actionScript(const GenerationContext& ctx);
    static StylesheetWriter::Input stylesheet(const GenerationContext& ctx);
    static FlashEmbedScriptWriter::Input flashEmbedScript(const GenerationContext& ctx);
    static Html5ScriptInput html5Script(const GenerationContext& ctx);
    static ConfigXmlWriter::Input configXml(const GenerationContext& ctx);
    static CoreScriptWriter::Input coreScript(const GenerationContext& ctx);
    static TestPageWriter::Input testPages(const GenerationContext& ctx);

    // What the player's box on the page is made of, for the Flash embed script and the local
    // test page.
    static PlayerBox::Parts playerBox(const GenerationContext& ctx);
};
