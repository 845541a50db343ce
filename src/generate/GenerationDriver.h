#pragma once

#include <QtGlobal>

struct GenerationContext;
class Clock;
class Dialogs;
class Views;

// One generation run, after the request passed its checks: reads the snapshot, writes the player
// files and the core script, builds the embed code, writes the test pages, assembles the output
// folder (with the metadata injection) and shows the code window.
// Any error ends the run with the common error message; files already written stay.
class GenerationDriver {
  public:
    // True when the run completed.
    static bool run(GenerationContext& ctx, qint16 playerWidth, qint16 playerHeight,
                    const Clock& clock, Dialogs& dialogs, Views& views);

  private:
    static void generate(GenerationContext& ctx, Views& views);
    static void writePlayerFiles(GenerationContext& ctx);
    static void writeCoreScript(GenerationContext& ctx);
    static void writeTestPages(GenerationContext& ctx);
};
