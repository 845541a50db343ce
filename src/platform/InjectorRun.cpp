#include "platform/InjectorRun.h"

#include <QProcess>
#include <QStringList>

#include "platform/ConsoleRunner.h"

InjectorRun InjectorRun::run(const QString& commandLine,
                             const std::function<void(const QByteArray&)>& onOutput,
                             const std::function<bool()>& stopRequested) {
    InjectorRun result;
    const QStringList words = QProcess::splitCommand(commandLine);
    result.video = words.isEmpty() ? QString() : words.constLast();
    int status = ConsoleRunner::Killed;
    try {
        status = ConsoleRunner::runForStatus(commandLine, onOutput, [&] {
            result.stopped = result.stopped || (stopRequested && stopRequested());
            return result.stopped;
        });
    } catch (const AppError& error) {
        result.notStarted = error;
    }
    result.failed = !result.stopped && status != 0 &&
                    result.video.endsWith(QLatin1String(".flv"), Qt::CaseInsensitive);
    return result;
}
