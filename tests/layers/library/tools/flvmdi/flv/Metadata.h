#pragma once

// The injector's library reads the build's version macros and nothing else of src/: the layer
// check must refuse the error class of the platform.
#include "platform/AppError.h"
#include "platform/Version.h"
