#include "generate/InjectedCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "flv/CopyInjector.h"
#include "platform/AppError.h"

namespace {

// The video's own copy is done by now, so the second one reports it whole: a stop still stops.
bool copySecond(int newFile, const QString& name, const QString& to,
                const FileOps::Progress& progress, qint64 chunkBytes, bool* made) {
    try {
        const bool whole = FileOps::copyOpenFile(
            newFile, name, to,
            [&progress](qint64, qint64) { return !progress || progress(qint64(1), qint64(1)); },
            chunkBytes);
        if (made)
            *made = whole;
        return whole;
    } catch (const AppError&) {
        return true;
    }
}

}  // namespace

namespace InjectedCopy {

bool copyFile(const QString& from, const QString& to, const FileOps::Progress& progress,
              qint64 chunkBytes, const QString& alsoTo, bool* alsoMade) {
    if (alsoMade)
        *alsoMade = false;
    if (!QFileInfo(from).isFile())
        throw AppError(AppError::FileNotFound, from);
    if (!QFileInfo(to).dir().exists())
        throw AppError(AppError::PathNotFound, to);
    if (FileOps::sameFile(from, to))
        return true;
    const flvmdi::CopyInjector injector(flvmdi::InjectOptions{true, true});
    const auto second = [&](int newFile) {
        return alsoTo.isEmpty() || copySecond(newFile, to, alsoTo, progress, chunkBytes, alsoMade);
    };
    try {
        const auto done = injector.copy(
            QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(),
            [&progress](uint64_t written, uint64_t total) {
                return progress(qint64(written), qint64(total));
            },
            second);
        return done.has_value();
    } catch (const flvmdi::FlvError&) {
        // Not a video the injector can take: copied as it is, and the injector says why.
    } catch (const flvmdi::IoError&) {
        // The plain copy runs into the same trouble and names it in the program's own terms.
    }
    return FileOps::copyFile(from, to, progress, chunkBytes);
}

}  // namespace InjectedCopy
