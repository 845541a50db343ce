#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "platform/AppError.h"

// One run of the metadata injector's command line for a step of a run's file work. The desktop's
// file-work window and vidlark-cli run it the same way; they differ only in where the output goes
// and whether the user can stop it.
struct InjectorRun {
    // The video, the last word of the command line.
    QString video;
    // The user asked to stop, and the injector was ended (it never leaves a video half-written).
    bool stopped = false;
    // An FLV was left without its metadata: the injector could not be started, or it ended with an
    // error. Only an FLV needs the injector; an MP4 or F4V the Flash player plays carries its own
    // index, so the injector's refusal of one is no failure.
    bool failed = false;
    // Why the injector could not be started, for the caller to report; the run goes on.
    std::optional<AppError> notStarted;

    // Runs `commandLine`, handing every piece of its merged output to `onOutput` as it comes and
    // asking `stopRequested` between pieces.
    static InjectorRun run(const QString& commandLine,
                           const std::function<void(const QByteArray&)>& onOutput,
                           const std::function<bool()>& stopRequested = {});
};
