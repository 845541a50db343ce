#include "platform/FileOps.h"

#include <fcntl.h>
#ifdef Q_OS_LINUX
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/AppError.h"
#include "platform/SideFileName.h"

namespace {

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// The classic number of a failed file-system call.
int numberOf(const std::error_code& ec) {
    if (ec == std::errc::no_such_file_or_directory)
        return AppError::FileNotFound;
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
        ec == std::errc::read_only_file_system)
        return AppError::PermissionDenied;
    if (ec == std::errc::no_space_on_device)
        return AppError::DiskFull;
    return AppError::PathFileAccess;
}

std::error_code lastError() {
    return {errno, std::generic_category()};
}

[[noreturn]] void raise(const std::error_code& ec, const QString& path,
                        AppError::Operation operation) {
    throw AppError::naming(numberOf(ec), path, operation, AppError::reasonOf(ec.value()));
}

[[noreturn]] void raiseCopy(const std::error_code& ec, const QString& from, const QString& to) {
    throw AppError::copying(numberOf(ec), from, to, AppError::reasonOf(ec.value()));
}

bool sameIdentity(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// copy_file_range keeps the data in the kernel; where it is not available (another file system
// type, an old kernel) the chunk goes through a buffer. The source is read at `offset`, not at its
// descriptor's position, which a file open elsewhere (the injector's new file) does not move.
qint64 copyChunk(int in, loff_t& offset, int out, qint64 bytes) {
#ifdef Q_OS_LINUX
    const ssize_t n = copy_file_range(in, &offset, out, nullptr, static_cast<size_t>(bytes), 0);
    if (n >= 0 || (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP))
        return n;
#endif
    static thread_local std::vector<char> buffer(1 << 20);
    const ssize_t got = pread(in, buffer.data(),
                              std::min<size_t>(buffer.size(), static_cast<size_t>(bytes)), offset);
    if (got <= 0)
        return got;
    for (ssize_t written = 0; written < got;) {
        const ssize_t w = write(out, buffer.data() + written, static_cast<size_t>(got - written));
        if (w < 0)
            return -1;
        written += w;
    }
    offset += got;
    return got;
}

// On a file system that shares blocks between files (XFS with reflink, Btrfs) the copy shares the
// source's blocks: nothing is read or written, whatever the size. False where it cannot.
bool cloneWhole(int in, int out) {
#ifdef Q_OS_LINUX
    return ioctl(out, FICLONE, in) == 0;
#else
    return false;
#endif
}

// A new file beside `to`, hidden and named for this process, that no one else writes; -1 (with
// errno) when the folder takes none.
std::pair<int, QString> createBeside(const QString& to, mode_t mode) {
    const QFileInfo target(to);
    for (int n = 0;; ++n) {
        const QString path =
            target.path() + u'/' +
            SideFileName::of(target.fileName(),
                             QStringLiteral(".vidlark-%1-%2").arg(getpid()).arg(n));
        const int fd = open(QFile::encodeName(path).constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST || n >= 100)
            return {fd, path};
    }
}

// Every byte, or the error that stopped it.
int writeWhole(int fd, const QByteArray& bytes) {
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n =
            write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n < 0 && errno != EINTR)
            return errno;
        if (n > 0)
            written += n;
    }
    return 0;
}

bool copyInChunks(int in, const QString& from, const QString& to, const FileOps::Progress& progress,
                  qint64 chunkBytes) {
    struct stat info {};
    if (fstat(in, &info) != 0)
        raiseCopy(lastError(), from, to);
    const std::pair<int, QString> made = createBeside(to, info.st_mode & 0777);
    if (made.first < 0)
        raiseCopy(lastError(), from, to);
    int out = made.first;
    const QString temporary = made.second;
    bool renamed = false;
    // Also when a progress report throws: nothing of the copy stays behind.
    const auto cleanUp = qScopeGuard([&out, &temporary, &renamed] {
        if (out >= 0)
            close(out);
        if (!renamed)
            unlink(QFile::encodeName(temporary).constData());
    });
    const qint64 total = info.st_size;
    qint64 done = 0;
    loff_t offset = 0;
    int error = 0;
    bool stopped = false;
    if (total > 0 && cloneWhole(in, out)) {
        done = total;
        stopped = !progress(done, total);
    }
    for (qint64 n = 1; !error && !stopped && n > 0 && done < total;) {
        n = copyChunk(in, offset, out, chunkBytes);
        if (n < 0)
            error = errno;
        else
            done += n;
        if (n > 0)
            stopped = !progress(done, total);
    }
    if (!error && !stopped && total == 0)
        stopped = !progress(0, 0);
    const int closed = close(out);
    out = -1;
    if (closed != 0 && !error)
        error = errno;
    if (error)
        raiseCopy(std::error_code(error, std::generic_category()), from, to);
    if (stopped)
        return false;
    if (rename(QFile::encodeName(temporary).constData(), QFile::encodeName(to).constData()) != 0)
        raiseCopy(lastError(), from, to);
    renamed = true;
    return true;
}

}  // namespace

namespace FileOps {

bool copyFile(const QString& from, const QString& to, const Progress& progress, qint64 chunkBytes) {
    if (!QFileInfo(from).isFile())
        throw AppError::copying(AppError::FileNotFound, from, to);
    if (!QFileInfo(to).dir().exists())
        throw AppError::copying(AppError::PathNotFound, from, to);
    if (sameFile(from, to))
        return true;
    // A copy nobody watches goes beside its target too: a disk that fills up must not leave a
    // part of the file under the target's name.
    const Progress report = progress ? progress : [](qint64, qint64) { return true; };
    const int in = open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        raiseCopy(lastError(), from, to);
    const auto closeIn = qScopeGuard([in] { close(in); });
    return copyInChunks(in, from, to, report, chunkBytes);
}

bool copyOpenFile(int from, const QString& name, const QString& to, const Progress& progress,
                  qint64 chunkBytes) {
    if (!QFileInfo(to).dir().exists())
        throw AppError::copying(AppError::PathNotFound, name, to);
    const Progress report = progress ? progress : [](qint64, qint64) { return true; };
    return copyInChunks(from, name, to, report, chunkBytes);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    const std::pair<int, QString> made = createBeside(path, 0666);
    if (made.first < 0) {
        const std::error_code ec = lastError();
        // A missing folder, or a file where the folder should be.
        if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)
            throw AppError::naming(AppError::PathNotFound, path, AppError::Operation::Writing,
                                   AppError::reasonOf(ec.value()));
        raise(ec, path, AppError::Operation::Writing);
    }
    int fd = made.first;
    const QString temporary = made.second;
    bool renamed = false;
    const auto cleanUp = qScopeGuard([&fd, &temporary, &renamed] {
        if (fd >= 0)
            close(fd);
        if (!renamed)
            unlink(QFile::encodeName(temporary).constData());
    });
    int error = writeWhole(fd, bytes);
    const int closed = close(fd);
    fd = -1;
    if (closed != 0 && !error)
        error = errno;
    if (error)
        raise(std::error_code(error, std::generic_category()), path, AppError::Operation::Writing);
    // rename() replaces a link at `path` itself, never the file it points to.
    if (rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0)
        raise(lastError(), path, AppError::Operation::Writing);
    renamed = true;
}

bool sameFile(const QString& a, const QString& b) {
    struct stat first {
    }, second{};
    return stat(QFile::encodeName(a).constData(), &first) == 0 &&
           stat(QFile::encodeName(b).constData(), &second) == 0 && sameIdentity(first, second);
}

std::optional<FileVersion> versionOf(const QString& path) {
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileVersion{quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
                       qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec)};
}

bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

bool folderExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

void makeFolder(const QString& path) {
    std::error_code ec;
    std::filesystem::create_directories(toPath(path), ec);
    if (ec)
        throw AppError::naming(AppError::PathFileAccess, path, AppError::Operation::MakingFolder,
                               AppError::reasonOf(ec.value()));
}

QStringList filesMatching(const QString& folder, const QString& pattern) {
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name);
}

void deleteMatching(const QString& folder, const QString& pattern) {
    const QDir dir(folder);
    std::error_code first;
    QString failed;
    for (const QString& name : filesMatching(folder, pattern)) {
        std::error_code ec;
        std::filesystem::remove(toPath(dir.filePath(name)), ec);
        if (ec && !first) {
            first = ec;
            failed = dir.filePath(name);
        }
    }
    if (first)
        raise(first, failed, AppError::Operation::Deleting);
}

QString separator() {
    return QString(QDir::separator());
}

QString withTrailingSeparator(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QDir::separator()) || folder.endsWith(u'/'))
        return folder;
    return folder + separator();
}

}  // namespace FileOps
