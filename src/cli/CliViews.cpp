#include "cli/CliViews.h"

#include <cstdio>

#include "platform/InjectorRun.h"

bool CliViews::runInjection(int, const QString& commandLine) {
    const InjectorRun run = InjectorRun::run(commandLine, [](const QByteArray& piece) {
        std::fwrite(piece.constData(), 1, static_cast<size_t>(piece.size()), stderr);
    });
    if (run.notStarted)
        m_dialogs.reportError(*run.notStarted);
    if (run.failed)
        failedInjections << run.video;
    return true;
}

void CliViews::showSingleVideoDialog() {
    if (cancelSingleVideoDialog)
        cancelSingleVideoDialog();
}

void CliViews::showPlaylistEditor() {
    if (cancelPlaylistEditor)
        cancelPlaylistEditor();
}
