#pragma once

#include <QByteArray>
#include <QString>

// A caption file as the browsers and the player read it: WebVTT in UTF-8 with LF line ends.
// A ".srt" file (by its suffix, in any letter case) is converted: "," becomes "." in the times,
// its cue numbers stay as cue ids. Anything else must be WebVTT already and is checked: the
// "WEBVTT" header and every cue's timing line ("start --> end", each HH:MM:SS.mmm or MM:SS.mmm,
// the end after the start). Text is read as UTF-8 when it is valid UTF-8 (a byte-order mark is
// dropped), otherwise as Windows-1252, which older subtitle tools wrote.
// Everything that cannot be used raises CaptionFileError naming the file and the line: an empty
// file, a binary one (a NUL or other control byte), a bad header, a malformed timing line, a
// WebVTT file without a cue, a file larger than kMaxBytes, and what is not a regular file.
namespace CaptionFile {

// The largest file read: caption files are text of a few hundred KB, so a larger one is another
// kind of file (a video chosen by mistake) and is refused without reading it whole.
constexpr qint64 kMaxBytes = 8 * 1024 * 1024;

// Reads and converts the file at `path` (AppError when it cannot be read; CaptionFileError
// when it is larger than kMaxBytes or no regular file, which is refused without opening it).
QByteArray toWebVtt(const QString& path);
// The same for bytes already read; `path` names the file in messages and decides the format.
QByteArray toWebVtt(const QByteArray& bytes, const QString& path);
// The language a name such as "clip.en.vtt" or "clip.pt-BR.srt" gives; empty when it gives none.
QString languageFromName(const QString& path);

}  // namespace CaptionFile
