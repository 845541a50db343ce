#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/AppError.h"
#include "platform/Cp1252.h"

namespace {

[[noreturn]] void raiseOpenError(const QString& path, QFileDevice::FileError error, bool reading) {
    const QFileInfo info(path);
    const auto failed = [&path, reading](int number) {
        return AppError::naming(
            number, path, reading ? AppError::Operation::Reading : AppError::Operation::Writing);
    };
    if (reading && !info.exists())
        throw failed(info.dir().exists() ? AppError::FileNotFound : AppError::PathNotFound);
    if (!reading && !info.dir().exists())
        throw failed(AppError::PathNotFound);
    if (error == QFileDevice::PermissionsError || (info.exists() && !reading && !info.isWritable()))
        throw failed(AppError::PermissionDenied);
    throw failed(AppError::PathFileAccess);
}

[[noreturn]] void raiseDiskFull(const QString& path) {
    throw AppError::naming(AppError::DiskFull, path, AppError::Operation::Writing);
}

}  // namespace

QByteArray TextFile::readBytes(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        raiseOpenError(path, file.error(), true);
    return file.readAll();
}

std::optional<QByteArray> TextFile::readBytesUpTo(const QString& path, qint64 maxBytes) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        raiseOpenError(path, file.error(), true);
    if (!file.isSequential() && file.size() > maxBytes)
        return std::nullopt;
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes)
        return std::nullopt;
    return bytes;
}

QString TextFile::readAll(const QString& path) {
    return Cp1252::decode(readBytes(path));
}

QStringList TextFile::readLines(const QString& path) {
    return splitLines(readAll(path));
}

QStringList TextFile::splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        qsizetype stop = end;
        if (stop > start && text[stop - 1] == u'\r' && end < text.size())
            --stop;
        lines.append(text.mid(start, stop - start));
        start = end + 1;
    }
    return lines;
}

QByteArray TextFile::encodeLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += Cp1252::encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

void TextFile::writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        raiseOpenError(path, file.error(), false);
    if (file.write(bytes) != bytes.size() || !file.flush())
        raiseDiskFull(path);
}

void TextFile::writeLines(const QString& path, const QStringList& lines) {
    writeBytes(path, encodeLines(lines));
}

void TextFile::writeBytesAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        raiseOpenError(path, file.error(), false);
    if (file.write(bytes) != bytes.size())
        raiseDiskFull(path);
    if (!file.commit())
        raiseOpenError(path, file.error(), false);
}

void TextFile::writeLinesAtomically(const QString& path, const QStringList& lines) {
    writeBytesAtomically(path, encodeLines(lines));
}
