#pragma once

// Includes of its own folder and of no src/ folder are always allowed.
#include <QString>

#include "platform/AppError.h"
