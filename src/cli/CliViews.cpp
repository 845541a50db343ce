#include "cli/CliViews.h"

#include <cstdio>

#include "platform/AppError.h"
#include "platform/ConsoleRunner.h"

void CliViews::showInjection(const QString& commandLine) {
    try {
        ConsoleRunner::run(commandLine, [](const QByteArray& piece) {
            std::fwrite(piece.constData(), 1, static_cast<size_t>(piece.size()), stderr);
        });
    } catch (const AppError& error) {
        m_dialogs.reportError(error);
    }
}

void CliViews::showSingleVideoDialog() {
    if (cancelSingleVideoDialog)
        cancelSingleVideoDialog();
}

void CliViews::showPlaylistEditor() {
    if (cancelPlaylistEditor)
        cancelPlaylistEditor();
}
