#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Windows-1252 text files with CR LF line ends, no byte-order mark. Readers accept CR LF and a
// bare LF. Only regular files are read or written (RegularFile): a folder, FIFO, device node or
// socket under the name is refused with error 75 at once, never waited on or read forever.
// Failures raise AppError naming the file with the classic numbers (53 missing file, 76 missing
// folder, 70 no permission, 61 full disk, 75 other access errors) and the system's reason.
class TextFile {
  public:
    static QStringList readLines(const QString& path);
    static QString readAll(const QString& path);
    static QByteArray readBytes(const QString& path);
    // The file's bytes when it holds at most `maxBytes`; nothing when it holds more. Reads no
    // more than one byte past the limit, so a huge file costs no more than the limit.
    static std::optional<QByteArray> readBytesUpTo(const QString& path, qint64 maxBytes);

    // Each line followed by CR LF. Written in place: a generated file, not a user document. Every
    // write is checked up to the close.
    static void writeLines(const QString& path, const QStringList& lines);
    static void writeBytes(const QString& path, const QByteArray& bytes);

    // User documents (profiles, playlists, configuration): a temporary file in the same folder,
    // flushed to the disk and renamed over the target, so the file is saved whole or not at all;
    // on any failure the old file stays byte for byte (RegularFile::replace, which also says what
    // happens to a target reached through symbolic links).
    static void writeLinesAtomically(const QString& path, const QStringList& lines);
    static void writeBytesAtomically(const QString& path, const QByteArray& bytes);

    static QByteArray encodeLines(const QStringList& lines);
    static QStringList splitLines(const QString& text);
};
