#pragma once

#include <QString>

#include "platform/FileOps.h"

// The copy of a Flash video that the metadata injector processes next: written with the metadata
// already injected (the injector's own layout, stamped), so the injector finds it up to date and
// the video is read and written once instead of three times. A source the injector cannot take
// (no FLV, cut short, encrypted) is copied plainly, and the injector then reports it as it always
// did. Same contract as FileOps::copyFile with progress: written beside the target and renamed
// over it only when whole; false when the progress stopped it. Failures raise AppError.
namespace InjectedCopy {

// Stamped for the options of the run's injector command line (/k /l): a copy stamped for other
// options would be injected again.
//
// `alsoTo`, when given, gets a plain copy of the new file (the run's mirror of it), made from the
// finished file while it is flushed to the disk, so the run waits for the disk once instead of
// twice. True in `alsoMade` when that copy was made; a failure of it is no failure of the video's
// copy (the mirror is made again the usual way, which reports it). A stop during it stops both.
bool copyFile(const QString& from, const QString& to, const FileOps::Progress& progress,
              qint64 chunkBytes, const QString& alsoTo = {}, bool* alsoMade = nullptr);

}  // namespace InjectedCopy
