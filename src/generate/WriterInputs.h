#pragma once

#include "formats/ActionScriptWriter.h"

struct GenerationContext;

// What each writer of a run reads, taken from the run's context: the writers see only these
// values, so a writer's signature says what its file depends on.
class WriterInputs {
  public:
    static ActionScriptWriter::Input actionScript(const GenerationContext& ctx);
};
