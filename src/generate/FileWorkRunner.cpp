#include "generate/FileWorkRunner.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QStringList>

#include <algorithm>

#include "media/CaptionFile.h"
#include "models/Views.h"
#include "platform/FileOps.h"
#include "platform/FileWorkPlan.h"
#include "platform/InjectedCopy.h"
#include "platform/TextFile.h"

namespace {

// A message box taller than the screen hides its own OK button.
constexpr int kListedSteps = 12;

bool doStep(const FileWorkPlan& plan, int index, Views& views,
            const std::function<void()>& makeThumbnails) {
    const FileWorkStep& step = plan.steps[index];
    switch (step.kind) {
        case FileWorkStep::Kind::Copy:
        case FileWorkStep::Kind::Mirror: {
            const QString folder = QFileInfo(step.target).path();
            if (step.makesFolder && !FileOps::folderExists(folder))
                FileOps::makeFolder(folder);
            const FileOps::Progress progress = [&views, index](qint64 done, qint64 total) {
                return views.fileWorkProgress(index, done, total);
            };
            if (step.injected)
                return InjectedCopy::copyFile(step.source, step.target, progress,
                                              FileWorkRunner::kChunkBytes);
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
            TextFile::writeBytesAtomically(step.target, CaptionFile::toWebVtt(step.source));
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
    for (int i = 0; i < plan.steps.size(); ++i) {
        const qint64 bytes = plan.steps[i].bytes;
        if (!views.fileWorkProgress(i, 0, std::max<qint64>(bytes, 1)))
            return i;
        if (!doStep(plan, i, views, makeThumbnails))
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
