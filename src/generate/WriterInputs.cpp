#include "generate/WriterInputs.h"

#include "formats/GenerationContext.h"

ActionScriptWriter::Input WriterInputs::actionScript(const GenerationContext& ctx) {
    return {ctx.outputFolder, ctx.snapshot.GenerationTag, ctx.snapshot.HasActionCode,
            ctx.settings.RedirectURL};
}
