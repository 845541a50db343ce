#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>

namespace {

// Larger writes and reads are split: the system takes at most about 2 GiB per call anyway.
constexpr qint64 kPiece = qint64(1) << 30;

// Symbolic links followed at most, as the system itself does (ELOOP past 40).
constexpr int kMaxLinks = 40;

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

bool folderOfExists(const QString& path) {
    return QFileInfo(path).dir().exists();
}

[[noreturn]] void fail(int systemError, const QString& path, AppError::Operation operation) {
    throw RegularFile::failure(systemError, path, operation);
}

[[noreturn]] void refuse(unsigned mode, const QString& path, AppError::Operation operation) {
    throw AppError::naming(AppError::PathFileAccess, path, operation, RegularFile::refusal(mode));
}

// The file the links at `path` lead to; `path` itself when it is no link. A link that leads
// nowhere gives the path it names.
QString followLinks(const QString& path) {
    QString target = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat info {};
        if (lstat(encoded(target).constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return target;
        char buffer[PATH_MAX];
        const ssize_t length = readlink(encoded(target).constData(), buffer, sizeof buffer);
        if (length < 0)
            fail(errno, path, AppError::Operation::Writing);
        if (length == ssize_t(sizeof buffer))
            fail(ENAMETOOLONG, path, AppError::Operation::Writing);
        const QString next = QFile::decodeName(QByteArray(buffer, int(length)));
        // Relative to the link's folder; ".." is left to the system, as a folder may be a link.
        target = next.startsWith(u'/') ? next : QFileInfo(target).path() + u'/' + next;
    }
    fail(ELOOP, path, AppError::Operation::Writing);
}

void writeWhole(int descriptor, const QByteArray& bytes, const QString& path) {
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, size_t(std::min(left, kPiece)));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, path, AppError::Operation::Writing);
        }
        data += written;
        left -= written;
    }
}

// fsync on a file system that cannot (some FUSE and network file systems) says EINVAL: the
// bytes are then where the system keeps them, which is all it offers.
void syncToDisk(int descriptor, const QString& path) {
    if (fsync(descriptor) != 0 && errno != EINVAL && errno != ENOTSUP)
        fail(errno, path, AppError::Operation::Writing);
}

// A close that fails has still closed the file (Linux); EINTR is no failure of the data.
void closeChecked(int& descriptor, const QString& path) {
    const int result = ::close(descriptor);
    descriptor = -1;
    if (result != 0 && errno != EINTR)
        fail(errno, path, AppError::Operation::Writing);
}

// So the rename itself survives a crash; a folder that cannot be synced changes nothing.
void syncFolder(const QString& folder) {
    const int descriptor = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        fsync(descriptor);
        ::close(descriptor);
    }
}

// A new file in `folder` that no one else writes: O_EXCL and the process's number.
std::pair<int, QString> createIn(const QString& folder, const QString& path, mode_t mode) {
    for (int n = 0;; ++n) {
        const QString name =
            folder + QStringLiteral("/.vidlark-%1-%2.tmp").arg(qint64(getpid())).arg(n);
        const int descriptor =
            ::open(encoded(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor >= 0)
            return {descriptor, name};
        if (errno != EEXIST || n >= 100)
            fail(errno, path, AppError::Operation::Writing);
    }
}

}  // namespace

RegularFile::RegularFile(int descriptor, QString path, qint64 size)
    : m_descriptor(descriptor), m_path(std::move(path)), m_size(size) {}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1)),
      m_path(std::move(other.m_path)),
      m_size(other.m_size) {}

RegularFile::~RegularFile() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

AppError RegularFile::failure(int systemError, const QString& path, AppError::Operation operation) {
    int number = AppError::PathFileAccess;
    switch (systemError) {
        case ENOENT:
        case ENOTDIR:
            number = operation == AppError::Operation::Reading && folderOfExists(path)
                         ? AppError::FileNotFound
                         : AppError::PathNotFound;
            break;
        case EACCES:
        case EPERM:
        case EROFS:
            number = AppError::PermissionDenied;
            break;
        case ENOSPC:
        case EDQUOT:
            number = AppError::DiskFull;
            break;
        default:
            break;
    }
    return AppError::naming(number, path, operation, AppError::reasonOf(systemError));
}

QString RegularFile::refusal(unsigned mode) {
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return AppError::reasonOf(EISDIR);  // "Is a directory"
    if (S_ISFIFO(mode))
        return QStringLiteral("Is a FIFO (named pipe), not a regular file");
    if (S_ISCHR(mode))
        return QStringLiteral("Is a character device, not a regular file");
    if (S_ISBLK(mode))
        return QStringLiteral("Is a block device, not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("Is a socket, not a regular file");
    return QStringLiteral("Is not a regular file");
}

RegularFile RegularFile::openForReading(const QString& path) {
    const auto reading = AppError::Operation::Reading;
    struct stat info {};
    if (stat(encoded(path).constData(), &info) != 0)
        fail(errno, path, reading);
    if (!S_ISREG(info.st_mode))
        refuse(info.st_mode, path, reading);
    const int descriptor =
        ::open(encoded(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        fail(errno, path, reading);
    RegularFile file(descriptor, path, 0);
    if (fstat(descriptor, &info) != 0)
        fail(errno, path, reading);
    if (!S_ISREG(info.st_mode))
        refuse(info.st_mode, path, reading);
    // A regular file never waits anyway; the flag goes so nothing later sees EAGAIN.
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    file.m_size = qint64(info.st_size);
    return file;
}

QByteArray RegularFile::read(qint64 maxBytes) {
    QByteArray bytes;
    if (maxBytes >= 0)
        bytes.reserve(qsizetype(std::min(maxBytes, m_size)));
    else
        bytes.reserve(qsizetype(m_size));
    char buffer[64 * 1024];
    while (maxBytes < 0 || bytes.size() < maxBytes) {
        qint64 wanted = qint64(sizeof buffer);
        if (maxBytes >= 0)
            wanted = std::min(wanted, maxBytes - bytes.size());
        const ssize_t got = ::read(m_descriptor, buffer, size_t(wanted));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, m_path, AppError::Operation::Reading);
        }
        if (got == 0)
            break;
        bytes.append(buffer, qsizetype(got));
    }
    return bytes;
}

std::unique_ptr<QFile> RegularFile::device() const {
    auto file = std::make_unique<QFile>();
    if (!file->open(m_descriptor, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        throw AppError::naming(AppError::PathFileAccess, m_path, AppError::Operation::Reading,
                               file->errorString());
    return file;
}

void RegularFile::replace(const QString& path, const QByteArray& bytes, Sync sync) {
    const auto writing = AppError::Operation::Writing;
    const QString target = followLinks(path);
    struct stat info {};
    const bool exists = stat(encoded(target).constData(), &info) == 0;
    if (!exists && errno != ENOENT)
        fail(errno, path, writing);
    if (exists && !S_ISREG(info.st_mode))
        refuse(info.st_mode, path, writing);
    if (exists && access(encoded(target).constData(), W_OK) != 0)
        fail(errno, path, writing);

    const QString folder = QFileInfo(target).path();
    const std::pair<int, QString> made = createIn(folder, path, 0666);
    int descriptor = made.first;
    const QString temporary = made.second;
    bool renamed = false;
    const auto cleanUp = qScopeGuard([&descriptor, &temporary, &renamed] {
        if (descriptor >= 0)
            ::close(descriptor);
        if (!renamed)
            unlink(encoded(temporary).constData());
    });
    if (exists) {
        // The replacement keeps what the old file had; only root may give it the old owner. A
        // failure leaves the new file its creator's owner and mode, which saving does not need.
        [[maybe_unused]] const int owned =
            geteuid() == 0 ? fchown(descriptor, info.st_uid, info.st_gid) : 0;
        [[maybe_unused]] const int moded = fchmod(descriptor, info.st_mode & 07777);
    }
    writeWhole(descriptor, bytes, path);
    if (sync == Sync::ToDisk)
        syncToDisk(descriptor, path);
    closeChecked(descriptor, path);
    // Something else put under the name meanwhile is not replaced either.
    struct stat now {};
    if (lstat(encoded(target).constData(), &now) == 0 && !S_ISREG(now.st_mode))
        refuse(now.st_mode, path, writing);
    if (rename(encoded(temporary).constData(), encoded(target).constData()) != 0)
        fail(errno, path, writing);
    renamed = true;
    if (sync == Sync::ToDisk)
        syncFolder(folder);
}

void RegularFile::writeInPlace(const QString& path, const QByteArray& bytes) {
    const auto writing = AppError::Operation::Writing;
    struct stat info {};
    if (stat(encoded(path).constData(), &info) == 0 && !S_ISREG(info.st_mode))
        refuse(info.st_mode, path, writing);
    // Without waiting: a FIFO swapped in meanwhile fails the open (no reader) or is refused below
    // before anything is written.
    int descriptor = ::open(encoded(path).constData(),
                            O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (descriptor < 0)
        fail(errno, path, writing);
    const auto closeOnFailure = qScopeGuard([&descriptor] {
        if (descriptor >= 0)
            ::close(descriptor);
    });
    if (fstat(descriptor, &info) != 0)
        fail(errno, path, writing);
    if (!S_ISREG(info.st_mode))
        refuse(info.st_mode, path, writing);
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    if (ftruncate(descriptor, 0) != 0)
        fail(errno, path, writing);
    writeWhole(descriptor, bytes, path);
    closeChecked(descriptor, path);
}
