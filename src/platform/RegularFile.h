#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

#include "platform/AppError.h"

// The files a user names (profiles, playlists, caption files, pictures, the configuration files)
// as the system sees them. Only a regular file is read or written: a folder, a FIFO, a device node
// or a socket under the name is refused (error 75, naming it, the reason "Is a FIFO (named pipe),
// not a regular file"), and nothing waits for a writer or reads forever. Every failure raises
// AppError naming the file, with the system's reason on its own line.
class RegularFile {
  public:
    // Opened for reading, or refused. The type is looked at before the file is opened, and the
    // opened file again (it is opened without waiting, so a FIFO swapped in between cannot
    // block): a device node is never opened at all, unless swapped in at that moment.
    static RegularFile openForReading(const QString& path);

    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&&) = delete;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile();

    // The size when it was opened.
    qint64 size() const { return m_size; }
    // The bytes from the current position to the end, or up to `maxBytes` of them when
    // `maxBytes` is not negative. A read error raises AppError (Reading).
    QByteArray read(qint64 maxBytes = -1);
    // A QFile on the open file, for readers that take a device (QImageReader). It does not close
    // the file; this object does, so it must outlive the device.
    std::unique_ptr<QFile> device() const;

    // Replaces the file at `path` with `bytes`, whole or not at all: written to a new file in the
    // same folder (".vidlark-PID-N.tmp"), flushed to the disk, and renamed over the target only
    // when every step succeeded; on any failure the new file is removed and the old one is left
    // byte for byte. An existing target that is not a regular file is refused, and one that is
    // not writable (error 70). A target reached through symbolic links is followed to the file
    // they lead to, which is replaced (keeping its permissions, and its owner when run as root);
    // the links stay links. A link that leads nowhere gets its file made where it points.
    // `sync` Skip leaves out the flush to the disk (some milliseconds each), for work files that
    // are made again from their sources anyway; every write and the close are still checked.
    enum class Sync { ToDisk, Skip };
    static void replace(const QString& path, const QByteArray& bytes, Sync sync = Sync::ToDisk);
    // Writes `bytes` into the file at `path` in place (made when missing, emptied first),
    // checking every step up to the close. A target that is not a regular file is refused.
    static void writeInPlace(const QString& path, const QByteArray& bytes);

    // The error for a system call on `path` that failed with `systemError` (errno): the classic
    // number (53 missing file, 76 missing folder, 70 no permission, 61 full disk, 75 otherwise)
    // and the system's reason.
    static AppError failure(int systemError, const QString& path, AppError::Operation operation);
    // Why a file of type `mode` (st_mode) is refused, in plain words; empty for a regular file.
    static QString refusal(unsigned mode);

  private:
    RegularFile(int descriptor, QString path, qint64 size);

    int m_descriptor;
    QString m_path;
    qint64 m_size;
};
