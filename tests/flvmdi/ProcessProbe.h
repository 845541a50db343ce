// Lets a test act at the moment a running flvmdi holds a given file open, as seen in
// /proc/PID/fd, instead of guessing with sleeps.
#pragma once

#include <sys/stat.h>

#include <QDir>
#include <QProcess>
#include <QString>

namespace probe {

inline struct stat statOf(const QString& path) {
    struct stat st {};
    ::stat(path.toLocal8Bit().constData(), &st);
    return st;
}

inline bool holdsFile(qint64 pid, const struct stat& file) {
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& name :
         QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        struct stat st {};
        if (::stat((fds + '/' + name).toLocal8Bit().constData(), &st) == 0 &&
            st.st_dev == file.st_dev && st.st_ino == file.st_ino)
            return true;
    }
    return false;
}

// False when the program ended or the time ran out first.
inline bool waitUntilHolds(QProcess& process, const struct stat& file, int timeoutMs = 20000) {
    if (process.state() == QProcess::Starting && !process.waitForStarted())
        return false;
    for (int waited = 0; waited < timeoutMs; waited += 5) {
        if (process.state() == QProcess::NotRunning)
            return false;
        if (holdsFile(process.processId(), file))
            return true;
        process.waitForFinished(5);
    }
    return false;
}

}  // namespace probe
