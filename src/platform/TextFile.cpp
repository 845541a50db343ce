#include "platform/TextFile.h"

#include "platform/Cp1252.h"
#include "platform/RegularFile.h"

QByteArray TextFile::readBytes(const QString& path) {
    return RegularFile::openForReading(path).read();
}

std::optional<QByteArray> TextFile::readBytesUpTo(const QString& path, qint64 maxBytes) {
    RegularFile file = RegularFile::openForReading(path);
    if (file.size() > maxBytes)
        return std::nullopt;
    // A file that grows meanwhile is read no further than one byte past the limit.
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
    RegularFile::writeInPlace(path, bytes);
}

void TextFile::writeLines(const QString& path, const QStringList& lines) {
    writeBytes(path, encodeLines(lines));
}

void TextFile::writeBytesAtomically(const QString& path, const QByteArray& bytes) {
    RegularFile::replace(path, bytes);
}

void TextFile::writeLinesAtomically(const QString& path, const QStringList& lines) {
    writeBytesAtomically(path, encodeLines(lines));
}
