#pragma once

#include <QList>
#include <QtGlobal>

struct GenerationContext;
struct GenerationSnapshot;
struct OutputFile;
class Clock;
class Dialogs;
class FileWorkPlan;
class RandomSource;
class Views;

// One generation run, after the request passed its checks: reads the snapshot, plans the file
// work and checks that every file it reads is there, decides what the run decides (the
// video-mode code, the containers' ids) and builds the embed code, makes every file it writes
// (the player files, the core script and the scripts it loads, the test pages) and only then
// writes them, assembles the output folder (with the metadata injection) and shows the code
// window.
// An error ends the run with the common error message; files already written stay. A missing
// source, and a file of the run that would replace one of its inputs (InputGuard), are found
// before anything is written. The user may cancel the file work: that is
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

    // What a run changes: the snapshot the writers read (`ctx.snapshot` is this one), which the
    // run reads, decides and reports into, and the source of the video-mode code.
    struct RunState {
        GenerationSnapshot& snapshot;
        RandomSource& random;
    };

    static Outcome run(const GenerationContext& ctx, const RunState& state, qint16 playerWidth,
                       qint16 playerHeight, const Clock& clock, Dialogs& dialogs, Views& views);

    // The files of a run in the order they are written, each made whole; no file is touched.
    static QList<OutputFile> outputFiles(const GenerationContext& ctx);

  private:
    // Decides what the run decides, builds the embed code and makes every generated file whole.
    static QList<OutputFile> prepare(const GenerationContext& ctx, const RunState& state);
    // Writes `files`, then does the file work: the index of the file-work step the user stopped
    // at, or FileWorkRunner::Completed.
    static int generate(const GenerationContext& ctx, const RunState& state,
                        const FileWorkPlan& plan, const QList<OutputFile>& files, Views& views);
    static QList<OutputFile> playerFiles(const GenerationContext& ctx);
    static QList<OutputFile> coreScriptFiles(const GenerationContext& ctx);
};
