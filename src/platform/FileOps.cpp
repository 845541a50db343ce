#include "platform/FileOps.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "platform/AppError.h"

namespace {

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

[[noreturn]] void raise(const std::error_code& ec, const QString& path) {
    if (ec == std::errc::no_such_file_or_directory)
        throw AppError(AppError::FileNotFound, path);
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
        ec == std::errc::read_only_file_system)
        throw AppError(AppError::PermissionDenied, path);
    if (ec == std::errc::no_space_on_device)
        throw AppError(AppError::DiskFull, path);
    throw AppError(AppError::PathFileAccess, path);
}

}  // namespace

namespace FileOps {

void copyFile(const QString& from, const QString& to) {
    if (!QFileInfo(from).isFile())
        throw AppError(AppError::FileNotFound, from);
    if (!QFileInfo(to).dir().exists())
        throw AppError(AppError::PathNotFound, to);
    std::error_code ec;
    std::filesystem::copy_file(toPath(from), toPath(to),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
        raise(ec, to);
}

bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

bool folderExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

void makeFolder(const QString& path) {
    if (!QDir().mkpath(path))
        throw AppError(AppError::PathFileAccess, path);
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
        raise(first, failed);
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
