#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Runs a console program and streams what it prints. The first word of the command line is the
// program (quoted when it holds blanks); standard error is merged into standard output.
class ConsoleRunner {
  public:
    // Hands every piece of output to `onOutput` as it arrives, in order, keeping the user interface
    // responsive in between, and returns when the program has finished. A program still running
    // after it closed its output is ended — only the one started here, never another. Raises
    // AppError 53 when the program cannot be started. The result is empty, as the log window shows
    // everything through `onOutput`.
    static QString run(const QString& commandLine,
                       const std::function<void(const QByteArray&)>& onOutput);

    // The program's exit status after the same run; a program that was ended, or died of a
    // signal, counts as Killed. When `stopRequested` answers true (it is asked between pieces of
    // output), the program is asked to end, and killed if it has not within a second.
    static constexpr int Killed = -1;
    static int runForStatus(const QString& commandLine,
                            const std::function<void(const QByteArray&)>& onOutput,
                            const std::function<bool()>& stopRequested = {});
};
