#pragma once

// A settings header that reaches up into the application: the layer check must refuse it.
#include <QString>

#include "app/MainController.h"
#include "platform/AppError.h"
#include "settings/ProjectSettings.h"
