#pragma once

#include <QString>

#include "generate/GenerationContext.h"

class Views;

// Puts every file the page needs beside the generated scripts in the output folder (with the
// Flash emulator's folder `ruffle/` when the page has no HTML5 alternative), mirrors what
// the local test page needs into the scratch folder, and has the metadata injector process each
// Flash video in the output folder. Any failing copy ends the run (AppError).
class OutputAssembly {
  public:
    static void assemble(const GenerationContext& ctx, Views& views);

    // The injector's command line for one video: the program path and the video path both quoted,
    // so folders with blanks, and names with quotes, reach it whole.
    static QString injectionCommandLine(const QString& appFolder, const QString& videoPath);

    // The application folder's scratch folder, ending in the separator.
    static QString scratchFolder(const QString& appFolder);

  private:
    static void assembleSingleVideo(const GenerationContext& ctx, Views& views);
    static void assemblePlaylist(const GenerationContext& ctx, Views& views);
    static void copySupportFiles(const GenerationContext& ctx);
    static void copyEmulator(const GenerationContext& ctx);
    static void copyImages(const GenerationContext& ctx);
};
