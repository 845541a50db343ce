#pragma once

#include <QString>
#include <functional>

class FileWorkPlan;
class Views;

// Does the planned file work of a run step by step, reporting each step's progress through
// Views, which also tell it when the user wants to stop. A stop is no error: the step that was
// under way leaves nothing behind (a copy is written beside its target and renamed over it only
// when whole; the injector renames its own new file over the video only when it is done), and
// every earlier file stays as it is.
class FileWorkRunner {
  public:
    static constexpr int Completed = -1;
    // Copies report after each piece of this size, so a stop never waits long.
    static constexpr qint64 kChunkBytes = 8ll << 20;

    // The index of the step at which the user stopped the work, or Completed. Errors of a step
    // (AppError) end the work and are raised; the views are told the work ended either way.
    static int run(const FileWorkPlan& plan, Views& views,
                   const std::function<void()>& makeThumbnails);

    // What the user is told after a cancel at `stoppedAt`: what was done and what was not.
    static QString cancelMessage(const FileWorkPlan& plan, int stoppedAt);
};
