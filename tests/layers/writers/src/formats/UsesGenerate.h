#pragma once

// A writer that takes the run's whole context from the generation above it: writers take narrow
// inputs, and the layer check must refuse it.
#include "formats/Escaping.h"
#include "generate/GenerationContext.h"
