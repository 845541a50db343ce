#include "platform/FileWorkPlan.h"

#include <sys/stat.h>
#include <QFile>
#include <QSet>

#include <algorithm>

#include "platform/AppError.h"
#include "platform/FileOps.h"
#include "platform/RegularFile.h"

namespace {

constexpr qint64 kWorthWatching = 64ll << 20;

// Every step weighs at least one byte, so a run of empty files still moves the bar.
double weightOf(const FileWorkStep& step) {
    return static_cast<double>(std::max<qint64>(step.bytes, 1));
}

// A copy of an empty file reports 0 of 0 when it is done.
double share(qint64 done, qint64 total) {
    if (total <= 0)
        return 1.0;
    return std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0);
}

}  // namespace

qint64 FileWorkPlan::totalBytes() const {
    qint64 sum = 0;
    for (const FileWorkStep& step : steps)
        sum += step.bytes;
    return sum;
}

qint64 FileWorkPlan::bytesDone(int index, qint64 done, qint64 total) const {
    qint64 sum = 0;
    for (int i = 0; i < index && i < steps.size(); ++i)
        sum += steps[i].bytes;
    if (index >= 0 && index < steps.size())
        sum += static_cast<qint64>(static_cast<double>(steps[index].bytes) * share(done, total));
    return sum;
}

double FileWorkPlan::weightBefore(int index) const {
    double sum = 0;
    for (int i = 0; i < index && i < steps.size(); ++i)
        sum += weightOf(steps[i]);
    return sum;
}

double FileWorkPlan::fraction(int index, qint64 done, qint64 total) const {
    const double all = weightBefore(static_cast<int>(steps.size()));
    if (all <= 0)
        return 1.0;
    double sum = weightBefore(index);
    if (index >= 0 && index < steps.size())
        sum += weightOf(steps[index]) * share(done, total);
    return std::min(sum / all, 1.0);
}

namespace {

// A source that is there but no regular file (a folder, a FIFO, a device) is named with what it
// is, not reported as missing.
[[noreturn]] void raiseUnreadable(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        throw AppError::naming(AppError::PathFileAccess, path, AppError::Operation::Reading,
                               RegularFile::refusal(info.st_mode));
    throw AppError::naming(AppError::FileNotFound, path, AppError::Operation::Reading);
}

}  // namespace

void FileWorkPlan::checkSources() const {
    QSet<QString> written;
    for (const FileWorkStep& step : steps) {
        const bool reads = step.kind != FileWorkStep::Kind::Thumbnails;
        if (reads && !written.contains(step.source) && !FileOps::fileExists(step.source))
            raiseUnreadable(step.source);
        written.insert(step.target);
    }
    for (const QString& path : alsoRead)
        if (!FileOps::fileExists(path))
            raiseUnreadable(path);
}

bool FileWorkPlan::worthWatching() const {
    return totalBytes() >= kWorthWatching ||
           std::any_of(steps.begin(), steps.end(), [](const FileWorkStep& step) {
               return step.kind == FileWorkStep::Kind::Inject;
           });
}

QString FileWorkPlan::describe(const FileWorkStep& step) {
    switch (step.kind) {
        case FileWorkStep::Kind::Copy:
            return QStringLiteral("Copy %1 to the output folder").arg(step.name);
        case FileWorkStep::Kind::Mirror:
            return QStringLiteral("Copy %1 for the local test page").arg(step.name);
        case FileWorkStep::Kind::Inject:
            return QStringLiteral("Inject metadata into %1").arg(step.name);
        case FileWorkStep::Kind::Thumbnails:
            return QStringLiteral("Make the playlist thumbnails");
        case FileWorkStep::Kind::Caption:
            return QStringLiteral("Write the captions %1 to the output folder").arg(step.name);
    }
    return step.name;
}

QString FileWorkPlan::activity(const FileWorkStep& step) {
    switch (step.kind) {
        case FileWorkStep::Kind::Copy:
            return QStringLiteral("Copying to the output folder");
        case FileWorkStep::Kind::Mirror:
            return QStringLiteral("Copying for the local test page");
        case FileWorkStep::Kind::Inject:
            return QStringLiteral("Injecting metadata");
        case FileWorkStep::Kind::Thumbnails:
            return QStringLiteral("Making the playlist thumbnails");
        case FileWorkStep::Kind::Caption:
            return QStringLiteral("Writing the captions");
    }
    return {};
}

// A guess from the first percent or the first second is mostly noise.
qint64 FileWorkPlan::secondsLeft(double fraction, qint64 elapsedMs) {
    if (fraction < 0.01 || elapsedMs < 1000)
        return -1;
    if (fraction >= 1.0)
        return 0;
    const double total = static_cast<double>(elapsedMs) / fraction;
    return static_cast<qint64>((total - static_cast<double>(elapsedMs)) / 1000.0 + 0.5);
}
