#pragma once

#include <QtGlobal>

struct GenerationContext;
class Clock;
class Dialogs;
class FileWorkPlan;
class Views;

// One generation run, after the request passed its checks: reads the snapshot, plans the file
// work and checks that every file it reads is there, writes the player files and the core
// script, builds the embed code, writes the test pages, assembles the output folder (with the
// metadata injection) and shows the code window.
// An error ends the run with the common error message; files already written stay. A missing
// source is found before anything is written. The user may cancel the file work: that is
// reported as a cancel (not an error), with what was done and what was not, and no code window
// follows.
class GenerationDriver {
  public:
    enum class Outcome {
        Completed,
        SourceMissing,  // a file the run reads is not there or cannot be used; nothing written
        Failed,
        Cancelled,  // the user stopped the file work
    };

    static Outcome run(GenerationContext& ctx, qint16 playerWidth, qint16 playerHeight,
                       const Clock& clock, Dialogs& dialogs, Views& views);

  private:
    // The index of the file-work step the user stopped at, or FileWorkRunner::Completed.
    static int generate(GenerationContext& ctx, const FileWorkPlan& plan, Views& views);
    static void writePlayerFiles(GenerationContext& ctx);
    static void writeCoreScript(GenerationContext& ctx);
    static void writeTestPages(GenerationContext& ctx);
};
