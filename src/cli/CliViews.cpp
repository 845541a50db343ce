#include "cli/CliViews.h"

#include <QProcess>
#include <cstdio>

#include "platform/AppError.h"
#include "platform/ConsoleRunner.h"

bool CliViews::runInjection(int, const QString& commandLine) {
    int status = ConsoleRunner::Killed;
    try {
        status = ConsoleRunner::runForStatus(commandLine, [](const QByteArray& piece) {
            std::fwrite(piece.constData(), 1, static_cast<size_t>(piece.size()), stderr);
        });
    } catch (const AppError& error) {
        m_dialogs.reportError(error);
    }
    // The video is the last word of the injector's command line. The injector is run on every
    // Flash file, but only an FLV needs it: an MP4 or F4V played by the Flash player carries its
    // own index, and the injector's refusal of it is no failure of the run.
    const QString video = QProcess::splitCommand(commandLine).constLast();
    if (status != 0 && video.endsWith(QLatin1String(".flv"), Qt::CaseInsensitive))
        failedInjections << video;
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
