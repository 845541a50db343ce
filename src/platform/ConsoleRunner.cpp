#include "platform/ConsoleRunner.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/AppError.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {

#ifdef Q_OS_UNIX

// The output pipe is read until the program closes it — which is not always when it exits, so
// QProcess (which reports the end of output only with the end of the process) is not used here.
class SpawnedProgram {
  public:
    SpawnedProgram(const QString& program, const QStringList& arguments) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            throw AppError::naming(AppError::PathFileAccess, program, AppError::Operation::Running);
        m_read = fds[0];
        std::vector<QByteArray> words{QFile::encodeName(program)};
        for (const QString& a : arguments)
            words.push_back(QFile::encodeName(a));
        std::vector<char*> argv;
        for (QByteArray& w : words)
            argv.push_back(w.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
        const int failed =
            program.contains(u'/')
                ? posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ)
                : posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (failed) {
            close(m_read);
            throw AppError::naming(AppError::FileNotFound, program, AppError::Operation::Running);
        }
    }

    ~SpawnedProgram() {
        if (m_pid > 0)
            finish();
    }

    // Asks the program to end; finish() then waits for it like for a program that closed its
    // output.
    void stop() { kill(m_pid, SIGTERM); }

    // Waits briefly for the program that closed its output to exit (it usually does so at once),
    // ends it if it does not, and returns its exit status.
    int finish() {
        close(m_read);
        m_read = -1;
        int status = 0;
        pid_t done = 0;
        // The exit follows the closed output almost at once, so the first pauses are short; a
        // run waits for its injector once per video. About a second in all.
        useconds_t pause = 250;
        for (useconds_t waited = 0; waited < 1000000 && done == 0; waited += pause) {
            done = waitpid(m_pid, &status, WNOHANG);
            if (done == 0) {
                pause = std::min<useconds_t>(pause * 2, 10000);
                usleep(pause);
            }
        }
        if (done == 0) {  // output closed, program still running
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
        }
        m_pid = -1;
        return done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : ConsoleRunner::Killed;
    }

    SpawnedProgram(const SpawnedProgram&) = delete;
    SpawnedProgram& operator=(const SpawnedProgram&) = delete;

    // False once the program has closed its output.
    bool readSome(const std::function<void(const QByteArray&)>& onOutput) {
        pollfd p{m_read, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            return true;
        char buffer[4096];
        const ssize_t n = read(m_read, buffer, sizeof buffer);
        if (n <= 0)
            return n < 0 && errno == EINTR;
        if (onOutput)
            onOutput(QByteArray(buffer, n));
        return true;
    }

  private:
    pid_t m_pid = -1;
    int m_read = -1;
};

#endif

}  // namespace

QString ConsoleRunner::run(const QString& commandLine,
                           const std::function<void(const QByteArray&)>& onOutput) {
    runForStatus(commandLine, onOutput);
    return {};
}

int ConsoleRunner::runForStatus(const QString& commandLine,
                                const std::function<void(const QByteArray&)>& onOutput,
                                const std::function<bool()>& stopRequested) {
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty())
        throw AppError::naming(AppError::FileNotFound, commandLine, AppError::Operation::Running);
    const QString program = words.takeFirst();
#ifdef Q_OS_UNIX
    SpawnedProgram child(program, words);
    while (child.readSome(onOutput)) {
        QCoreApplication::processEvents();
        if (stopRequested && stopRequested()) {
            child.stop();
            child.finish();
            return Killed;
        }
    }
    return child.finish();
#else
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, words, QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        throw AppError::naming(AppError::FileNotFound, program, AppError::Operation::Running);
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(50);
        if (const QByteArray piece = process.readAll(); !piece.isEmpty() && onOutput)
            onOutput(piece);
        QCoreApplication::processEvents();
        if (stopRequested && stopRequested()) {
            process.kill();
            process.waitForFinished(-1);
            return Killed;
        }
    }
    if (const QByteArray rest = process.readAll(); !rest.isEmpty() && onOutput)
        onOutput(rest);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : Killed;
#endif
}
