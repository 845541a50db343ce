#pragma once

// A writer that reads the run's records from the folder above, where they once were: they live
// beside the writers, so the layer check must refuse it.
#include "formats/Escaping.h"
#include "generate/GenerationContext.h"
