#pragma once

// A writer that reads the settings whole: the layer check must refuse it. Writers take a narrow
// input; the media records they read are fine.
#include "media/Playlist.h"
#include "settings/ProjectSettings.h"
