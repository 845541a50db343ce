#include "FakeViews.h"

void FakeViews::showSingleVideoDialog() {
    log.append(QStringLiteral("singleVideoDialog"));
    if (onSingleVideoDialog)
        onSingleVideoDialog();
}

void FakeViews::showPlaylistEditor() {
    log.append(QStringLiteral("playlistEditor"));
    if (onPlaylistEditor)
        onPlaylistEditor();
}

void FakeViews::showSocialDialog() {
    log.append(QStringLiteral("socialDialog"));
    if (onSocialDialog)
        onSocialDialog();
}

void FakeViews::showQuickHelp(int topic) {
    log.append(QStringLiteral("help:%1").arg(topic));
}

void FakeViews::showCodeWindow(const QString& embedCode, const QString& instructions) {
    log.append(QStringLiteral("codeWindow"));
    shownEmbedCode = embedCode;
    shownInstructions = instructions;
}

void FakeViews::beginFileWork(const FileWorkPlan& plan) {
    fileWork.append(QStringLiteral("begin"));
    plannedSteps = plan.steps;
}

bool FakeViews::fileWorkProgress(int index, qint64 done, qint64 total) {
    fileWork.append(QStringLiteral("%1:%2/%3").arg(index).arg(done).arg(total));
    return !onFileWorkProgress || onFileWorkProgress(index, done, total);
}

bool FakeViews::runInjection(int index, const QString& commandLine) {
    log.append(QStringLiteral("inject:") + commandLine);
    return !onInjection || onInjection(index);
}

void FakeViews::focusControl(const QString& name) {
    log.append(QStringLiteral("focus:") + name);
}

void FakeViews::bringTabToFront(int index) {
    log.append(QStringLiteral("tab:%1").arg(index));
}

void FakeViews::setBusy(bool busy) {
    log.append(QStringLiteral("busy:%1").arg(busy ? 1 : 0));
}
