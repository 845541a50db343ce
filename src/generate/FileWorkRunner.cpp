#include "generate/FileWorkRunner.h"

#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QStringList>

#include <algorithm>

#include "generate/InjectedCopy.h"
#include "media/CaptionFile.h"
#include "platform/FileOps.h"
#include "platform/FileWorkPlan.h"
#include "platform/Views.h"

namespace {

// A message box taller than the screen hides its own OK button.
constexpr int kListedSteps = 12;

// Mirrors made while the copy they mirror was flushed (see InjectedCopy), by the index of their
// own step, with the version of the copy they were made from.
using EarlyMirrors = QHash<int, FileOps::FileVersion>;

// The mirror step that copies what step `index` writes, or -1.
int mirrorOf(const FileWorkPlan& plan, int index) {
    for (int j = index + 1; j < plan.steps.size(); ++j)
        if (plan.steps[j].kind == FileWorkStep::Kind::Mirror &&
            plan.steps[j].source == plan.steps[index].target)
            return j;
    return -1;
}

bool copyInjected(const FileWorkPlan& plan, int index, const FileOps::Progress& progress,
                  EarlyMirrors& early) {
    const FileWorkStep& step = plan.steps[index];
    const int mirror = mirrorOf(plan, index);
    const QString alsoTo = mirror < 0 ? QString() : plan.steps[mirror].target;
    bool mirrored = false;
    if (!InjectedCopy::copyFile(step.source, step.target, progress, FileWorkRunner::kChunkBytes,
                                alsoTo, &mirrored))
        return false;
    if (const auto version = FileOps::versionOf(step.target); mirrored && version)
        early.insert(mirror, *version);
    return true;
}

// A mirror made early stands while the injector step between has left its source as it was
// (it does when it finds the copy's stamp up to date).
bool mirroredEarly(const FileWorkStep& step, int index, const EarlyMirrors& early) {
    return early.contains(index) && FileOps::versionOf(step.source) == early.value(index);
}

bool doStep(const FileWorkPlan& plan, int index, Views& views,
            const std::function<void()>& makeThumbnails, EarlyMirrors& early) {
    const FileWorkStep& step = plan.steps[index];
    switch (step.kind) {
        case FileWorkStep::Kind::Copy:
        case FileWorkStep::Kind::Mirror: {
            if (mirroredEarly(step, index, early))
                return true;
            const QString folder = QFileInfo(step.target).path();
            if (step.makesFolder && !FileOps::folderExists(folder))
                FileOps::makeFolder(folder);
            const FileOps::Progress progress = [&views, index](qint64 done, qint64 total) {
                return views.fileWorkProgress(index, done, total);
            };
            if (step.injected)
                return copyInjected(plan, index, progress, early);
            return FileOps::copyFile(step.source, step.target, progress,
                                     FileWorkRunner::kChunkBytes);
        }
        case FileWorkStep::Kind::Inject:
            // One at a time: the injection has finished when runInjection returns.
            return views.runInjection(index, step.command);
        case FileWorkStep::Kind::Thumbnails:
            makeThumbnails();
            return true;
        case FileWorkStep::Kind::Caption:
            // Already in place as it would be written (InputGuard let it through so).
            if (FileOps::sameFile(step.source, step.target))
                return true;
            FileOps::writeFile(step.target, CaptionFile::toWebVtt(step.source));
            return true;
    }
    return true;
}

void listSteps(QStringList& lines, const FileWorkPlan& plan, int from, int to) {
    const int shown = std::min(to, from + kListedSteps);
    for (int i = from; i < shown; ++i)
        lines << QStringLiteral("  ") + FileWorkPlan::describe(plan.steps[i]);
    if (to > shown)
        lines << QStringLiteral("  ... and %1 more").arg(to - shown);
    if (from >= to)
        lines << QStringLiteral("  (none)");
}

}  // namespace

int FileWorkRunner::run(const FileWorkPlan& plan, Views& views,
                        const std::function<void()>& makeThumbnails) {
    views.beginFileWork(plan);
    const auto end = qScopeGuard([&views] { views.endFileWork(); });
    EarlyMirrors early;
    for (int i = 0; i < plan.steps.size(); ++i) {
        const qint64 bytes = plan.steps[i].bytes;
        if (!views.fileWorkProgress(i, 0, std::max<qint64>(bytes, 1)))
            return i;
        if (!doStep(plan, i, views, makeThumbnails, early))
            return i;
        if (!views.fileWorkProgress(i, bytes, bytes))
            return i + 1 < plan.steps.size() ? i + 1 : Completed;
    }
    return Completed;
}

QString FileWorkRunner::cancelMessage(const FileWorkPlan& plan, int stoppedAt) {
    const int count = static_cast<int>(plan.steps.size());
    QStringList lines{
        QStringLiteral("GENERATION CANCELLED. Nothing is left half-written: the step under way "
                       "was undone, and the files written before it stay."),
        QString(), QStringLiteral("Done (after the player files, scripts and test pages):")};
    listSteps(lines, plan, 0, stoppedAt);
    lines << QString() << QStringLiteral("Not done:");
    listSteps(lines, plan, stoppedAt, count);
    return lines.join(u'\n');
}
