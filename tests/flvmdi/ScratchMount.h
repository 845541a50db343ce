// A small file system mounted for one test: a tmpfs to fill up, a ramfs that keeps no extended
// attributes. Needs root; unmounted and removed again when the test ends.
#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <QString>
#include <QTemporaryDir>

class ScratchMount {
  public:
    ScratchMount(const char* type, const char* options) {
        if (::geteuid() != 0) {
            problem_ = "needs root to mount a scratch file system";
            return;
        }
        if (!dir_.isValid() ||
            ::mount(type, dir_.path().toLocal8Bit().constData(), type, 0, options) != 0) {
            problem_ = QStringLiteral("cannot mount a %1 here").arg(type);
            return;
        }
        mounted_ = true;
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;
    // Detached, so a file still open somewhere cannot keep the mount (and the test folder) alive.
    ~ScratchMount() {
        if (mounted_)
            ::umount2(dir_.path().toLocal8Bit().constData(), MNT_DETACH);
    }

    bool mounted() const { return mounted_; }
    const QString& problem() const { return problem_; }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    QString path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString problem_;
};
