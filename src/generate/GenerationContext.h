#pragma once

#include <QString>

#include "generate/GenerationSnapshot.h"
#include "media/Playlist.h"
#include "media/SingleVideo.h"
#include "platform/AppPaths.h"
#include "settings/AdvancedOptions.h"
#include "settings/ProjectSettings.h"

// What every writer of a generation run reads: the run's snapshot, the settings, the advanced
// options and the current video selection, plus where to write.
struct GenerationContext {
    const GenerationSnapshot& snapshot;
    const ProjectSettings& settings;
    const AdvancedOptions& advanced;
    const SingleVideo& single;
    const Playlist& playlist;
    QString skinName;      // the selected PlayerStyle entry ("Skin-30-dark")
    QString outputFolder;  // OutDir, ends in the folder separator
    AppPaths paths;        // where the program's files are and where its scratch folder is

    bool isPlaylist() const { return settings.Multiple; }
};
