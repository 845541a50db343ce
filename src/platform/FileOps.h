#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// File-system operations of a generation run and of start-up. Failures raise AppError.
namespace FileOps {

// A file as it is now: another version has another identity, size or time of last modification.
struct FileVersion {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;
    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// Bytes copied so far and the size of the file; the answer is false to stop the copy.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Copies with overwrite, through the operating system's own copy path: the blocks shared where the
// file system can (a clone), else copied in the kernel where it can, in chunks of `chunkBytes`,
// reporting to `progress` (when given) after each. Every copy is written beside the target under a
// hidden name and renamed over the target only when whole, so a copy that is stopped (false is
// returned then) or fails (a full disk) leaves no part of itself, and an older file of that name
// stays as it was. Failures name both files (AppError::copying). When both names lead to one file
// (the same name, a link, a hard link, a folder reached through a bind mount), the file is already
// in place and is left as it is: writing the target would otherwise empty the source.
bool copyFile(const QString& from, const QString& to, const Progress& progress = {},
              qint64 chunkBytes = 32 << 20);
// The same copy from a file the caller holds open, read from its start whatever the descriptor's
// position; `name` stands for it in messages. For a file that has no name yet (the injector's new
// file before its rename) or that must be copied as it is at this moment.
bool copyOpenFile(int from, const QString& name, const QString& to, const Progress& progress,
                  qint64 chunkBytes);
// Writes a generated file as the copies are written: `bytes` go into a hidden file beside `path`,
// renamed over it when whole. A symbolic link at `path` is replaced, never followed into its
// target; a failure (a full disk) leaves an older file of that name as it was and no part of the
// new one. Failures name `path` (Writing).
void writeFile(const QString& path, const QByteArray& bytes);
// True when both paths name one and the same existing file (same device and inode).
bool sameFile(const QString& a, const QString& b);
// Nothing when there is no such file.
std::optional<FileVersion> versionOf(const QString& path);
bool fileExists(const QString& path);
bool folderExists(const QString& path);
void makeFolder(const QString& path);

// Names of the files in `folder` whose names match the wildcard `pattern` ("zevocoresv*.js").
QStringList filesMatching(const QString& folder, const QString& pattern);
// Deletes every file in `folder` matching `pattern`; does nothing when none matches. A file that
// cannot be deleted does not keep the others; the first failure is raised at the end.
void deleteMatching(const QString& folder, const QString& pattern);

// The platform's folder separator, which ends every folder text of the program.
QString separator();
// `folder` with one separator at its end (an empty text stays empty).
QString withTrailingSeparator(const QString& folder);

}  // namespace FileOps
