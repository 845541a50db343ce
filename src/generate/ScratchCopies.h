#pragma once

#include <QString>

#include "generate/GenerationContext.h"

// Every run mirrors its videos into the scratch folder for the local test page, and the local test
// page only ever plays the last run's. Left there, the copies of earlier runs would fill the disk
// run after run (a folder of a user's videos is many gigabytes), so a run removes them first.
class ScratchCopies {
  public:
    // Removes the videos directly in the scratch folder, except a file that is one of the run's
    // own inputs (a user may keep a video there). A copy that cannot be removed stays and the run
    // goes on: the folder is emptied again at the next start.
    static void removeEarlier(const GenerationContext& ctx);
    // A name whose suffix is one of a video the run mirrors (any case).
    static bool isVideoName(const QString& name);
};
