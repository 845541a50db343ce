#pragma once

#include <QString>

#include "generate/GenerationContext.h"
#include "platform/FileWorkPlan.h"

class Views;

// Puts every file the page needs beside the generated scripts in the output folder (with the
// Flash emulator's folder `ruffle/` when the page has no HTML5 alternative), mirrors what
// the local test page needs into the scratch folder, and has the metadata injector process each
// Flash video in the output folder. The work is planned first, so a missing source stops the run
// before anything is written; any failing step ends the run (AppError).
class OutputAssembly {
  public:
    // Every step, in the order it is done. Raises AppError naming the emulator's folder or
    // script when the installation lacks them and the page needs them.
    // Raises CaptionFileError when two caption files would get the same name.
    static FileWorkPlan plan(const GenerationContext& ctx);
    // Reads every caption file of the plan as the run will write it: raises CaptionFileError for
    // the first that cannot be used, before anything is written.
    static void checkCaptions(const FileWorkPlan& plan);
    // Does the planned work; the index of the step the user stopped at, or
    // FileWorkRunner::Completed.
    static int assemble(const GenerationContext& ctx, const FileWorkPlan& plan, Views& views);

    // The injector's command line for one video: the program path and the video path both quoted,
    // so folders with blanks, and names with quotes, reach it whole.
    static QString injectionCommandLine(const QString& programs, const QString& videoPath);
};
