#include "media/PlaylistFile.h"

#include <algorithm>
#include <iterator>

#include "media/PlaylistNames.h"
#include "media/PlaylistRowFields.h"
#include "platform/AppError.h"
#include "platform/ControlCharacters.h"
#include "platform/Cp1252.h"
#include "platform/Scrambler.h"
#include "platform/TextFile.h"

namespace {

constexpr int kHeaderLine = 12;

// Names of the value lines 1 to 11, for the message about a value that cannot be stored.
const char* const kLineNames[] = {
    "Right of Video Player",
    "Bottom of Video Player",
    "Invisible",
    "Title Only",
    "Title & Description",
    "Title, Description & Thumbnail",
    "HTML5 Support",
    "FLV/Mp4 files folder",
    "Mp4 files folder",
    "WebM files folder",
    "thumbnail images folder",
};

QString truth(bool on) {
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

// A truth value as the option lines hold it: "True"/"False" in any case, or a number
// (0 is false).
bool toTruth(const QString& text, int line) {
    const QString t = text.trimmed();
    if (t.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = t.toDouble(&ok);
    if (!ok)
        throw AppError(AppError::TypeMismatch, QStringLiteral("line %1: %2").arg(line).arg(text));
    return number != 0;
}

int toInteger(const QString& text, int line) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok)
        throw AppError(AppError::TypeMismatch, QStringLiteral("line %1: %2").arg(line).arg(text));
    return number;
}

// A row's caption tracks follow its layout's fields, after this marker, as file|language|label
// per track: older versions read only the layout's fields, and a row without captions is the
// line it always was. Each value has "%" and "|" percent-encoded, so a label may hold both.
const QString kCaptionsMarker = QStringLiteral("#captions");

QString captionField(QString value) {
    return value.replace(u'%', QStringLiteral("%25")).replace(u'|', QStringLiteral("%7C"));
}

QString captionValue(const QString& field) {
    QString value;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QString code = field.mid(i, 3);
        if (code.compare(u"%7C", Qt::CaseInsensitive) == 0 || code == u"%25") {
            value += code == u"%25" ? u'%' : u'|';
            i += 2;
        } else {
            value += field[i];
        }
    }
    return value;
}

QString rowFieldName(int field, int row) {
    if (field >= int(std::size(kPlaylistRowFields)))
        return QStringLiteral("captions of row %1").arg(row);
    return QString::fromLatin1(kPlaylistRowFields[field].name) +
           QStringLiteral(" of row %1").arg(row);
}

// "CHARACTER 3 (CONTROL CODE 0) OF THE TITLE OF ROW 2"
QString characterOf(const QString& value, qsizetype at, const QString& name) {
    return QStringLiteral("CHARACTER %1 (").arg(at + 1) +
           ControlCharacters::shown(Cp1252::characterAt(value, at)) +
           QStringLiteral(") OF THE %1").arg(name.toUpper());
}

// The grid cell of a row value; row 0 for the values of the other lines.
struct Cell {
    int row = 0;
    int column = 0;
};

[[noreturn]] void refuseCharacter(const QString& value, qsizetype at, const QString& name,
                                  Cell cell = {}) {
    // A control character shows as nothing, so there is nothing to replace it with.
    const bool control = ControlCharacters::isControl(value[at]);
    throw PlaylistFileError(
        QStringLiteral("PLAYLIST NOT SAVED. ") + characterOf(value, at, name) +
            QStringLiteral(" CANNOT BE STORED IN A PLAYLIST FILE. PLEASE %1 IT AND SAVE AGAIN.")
                .arg(control ? QStringLiteral("REMOVE") : QStringLiteral("REPLACE")),
        cell.row, cell.column);
}

void refuseControlOnSave(const QString& value, const QString& name, Cell cell = {}) {
    if (const qsizetype at = ControlCharacters::firstIndex(value); at >= 0)
        refuseCharacter(value, at, name, cell);
}

void refuseControlOnLoad(const QString& value, const QString& name) {
    if (const qsizetype at = ControlCharacters::firstIndex(value); at >= 0)
        throw PlaylistFileError(QStringLiteral("PLAYLIST NOT LOADED. ") +
                                characterOf(value, at, name) +
                                QStringLiteral(" IS NOT ALLOWED IN A PLAYLIST FILE."));
}

QString scrambledValue(const QString& value, const QString& name) {
    refuseControlOnSave(value, name);
    const qsizetype at = Scrambler::unstorableIndex(value, Scrambler::kScrambleKey);
    if (at >= 0)
        refuseCharacter(value, at, name);
    return Scrambler::scramble(value, Scrambler::kScrambleKey);
}

// A row line is scrambled as a whole, so the key position of a field depends on the fields
// before it; the message names the field and the position inside it.
QString scrambledRow(const QString& line, int row, int fields) {
    qsizetype at = Scrambler::unstorableIndex(line, Scrambler::kScrambleKey);
    if (at < 0)
        return Scrambler::scramble(line, Scrambler::kScrambleKey);
    const QStringList parts = line.split(QLatin1Char('|'));
    int f = 0;
    while (f + 1 < parts.size() && at > parts[f].size()) {
        at -= parts[f].size() + 1;
        ++f;
    }
    // A caption field has no grid cell of its own: the message names the row's captions.
    const int field = f < fields ? f : int(std::size(kPlaylistRowFields));
    refuseCharacter(parts[f], at, rowFieldName(field, row), {row, std::min(f, fields - 1)});
}

QStringList captionFields(const CaptionTracks& tracks, int row, int fields) {
    if (tracks.isEmpty())
        return {};
    QStringList parts{kCaptionsMarker};
    for (const CaptionTrack& track : tracks)
        for (const QString& value : {track.path, track.language, track.label}) {
            refuseControlOnSave(value, rowFieldName(int(std::size(kPlaylistRowFields)), row),
                                {row, fields - 1});
            parts << captionField(value);
        }
    return parts;
}

// Fields past the layout's are captions only behind the marker and in whole tracks; anything
// else there is dropped, as it always was.
CaptionTracks loadedCaptions(const QStringList& parts, int row, int columns) {
    CaptionTracks tracks;
    if (parts.size() <= columns || parts[columns] != kCaptionsMarker ||
        (parts.size() - columns - 1) % 3 != 0)
        return tracks;
    for (qsizetype f = columns + 1; f + 2 < parts.size(); f += 3) {
        CaptionTrack track{captionValue(parts[f]), captionValue(parts[f + 1]),
                           captionValue(parts[f + 2])};
        for (const QString& value : {track.path, track.language, track.label})
            refuseControlOnLoad(value, rowFieldName(int(std::size(kPlaylistRowFields)), row));
        tracks << track;
    }
    return tracks;
}

QString rowLine(const PlaylistEntry& entry, int row, int fields) {
    QStringList parts;
    for (int f = 0; f < fields; ++f) {
        const QString& value = entry.*kPlaylistRowFields[f].field;
        if (value.contains(QLatin1Char('|')))
            throw PlaylistFileError(
                QStringLiteral("PLAYLIST NOT SAVED. THE %1 OF ROW %2 HOLDS \"|\", WHICH A "
                               "PLAYLIST FILE CANNOT STORE. PLEASE RENAME OR REPLACE IT AND SAVE "
                               "AGAIN.")
                    .arg(QString::fromLatin1(kPlaylistRowFields[f].name).toUpper())
                    .arg(row),
                row, f);
        if (!kPlaylistRowFields[f].fileName)
            refuseControlOnSave(value, rowFieldName(f, row), {row, f});
        parts.append(value);
    }
    parts << captionFields(entry.Captions, row, fields);
    const QString fault = PlaylistNames::rowFault(entry, row, fields);
    if (!fault.isEmpty())
        throw PlaylistFileError(QStringLiteral("PLAYLIST NOT SAVED. ") + fault +
                                    QStringLiteral(". PLEASE REPLACE IT AND SAVE AGAIN."),
                                row, PlaylistNames::faultyField(entry, fields));
    return parts.join(QLatin1Char('|'));
}

// A row as read, checked like a saved one: file names plain, texts without control characters.
PlaylistEntry loadedRow(const QStringList& parts, int row, int columns) {
    PlaylistEntry entry;
    for (int f = 0; f < columns; ++f) {
        entry.*kPlaylistRowFields[f].field = parts[f];
        if (!kPlaylistRowFields[f].fileName)
            refuseControlOnLoad(parts[f], rowFieldName(f, row));
    }
    entry.Captions = loadedCaptions(parts, row, columns);
    const QString fault = PlaylistNames::rowFault(entry, row, columns);
    if (!fault.isEmpty())
        throw PlaylistFileError(QStringLiteral("PLAYLIST NOT LOADED. ") + fault + QLatin1Char('.'));
    return entry;
}

}  // namespace

QStringList PlaylistFile::plainLines(const Playlist& playlist, bool html5Files) {
    const int fields = playlistFieldCount(playlist.layout);
    QStringList lines{
        truth(playlist.position == PlaylistPosition::Right),
        truth(playlist.position == PlaylistPosition::Bottom),
        truth(playlist.position == PlaylistPosition::Invisible),
        truth(playlist.layout == PlaylistLayout::TitleOnly),
        truth(playlist.layout == PlaylistLayout::TitleDesc),
        truth(playlist.layout == PlaylistLayout::TitleDescThumb),
        html5Files ? QStringLiteral("1") : QStringLiteral("0"),
        playlist.FLVVideoFilesPath,
        playlist.Mp4VideoFilesPath,
        playlist.WebMVideoFilesPath,
        playlist.ThumbImagesPath,
        QStringLiteral("%1|%2").arg(playlist.rows.size() + 1).arg(fields),
    };
    for (qsizetype r = 0; r < playlist.rows.size(); ++r)
        lines.append(rowLine(playlist.rows[r], int(r + 1), fields));
    return lines;
}

QStringList PlaylistFile::fileLines(const Playlist& playlist, bool html5Files) {
    QStringList lines = plainLines(playlist, html5Files);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int line = int(i + 1);
        if (line < kHeaderLine)
            lines[i] = scrambledValue(lines[i], QString::fromLatin1(kLineNames[i]));
        else if (line > kHeaderLine)
            lines[i] =
                scrambledRow(lines[i], line - kHeaderLine, playlistFieldCount(playlist.layout));
    }
    return lines;
}

void PlaylistFile::write(const QString& path, const Playlist& playlist, bool html5Files) {
    TextFile::writeLinesAtomically(path, fileLines(playlist, html5Files));
}

PlaylistFile::Contents PlaylistFile::read(const QString& path) {
    return parse(TextFile::readLines(path));
}

PlaylistFile::Contents PlaylistFile::parse(const QStringList& lines) {
    Contents c;
    const PlaylistPosition positions[] = {PlaylistPosition::Right, PlaylistPosition::Bottom,
                                          PlaylistPosition::Invisible};
    const PlaylistLayout layouts[] = {PlaylistLayout::TitleOnly, PlaylistLayout::TitleDesc,
                                      PlaylistLayout::TitleDescThumb};
    QString* const folders[] = {&c.FLVVideoFilesPath, &c.Mp4VideoFilesPath, &c.WebMVideoFilesPath,
                                &c.ThumbImagesPath};
    int columns = 0;
    bool readRows = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int line = int(i + 1);
        if (line == kHeaderLine) {
            const QStringList header = lines[i].split(QLatin1Char('|'));
            readRows = toInteger(header[0], line) >= 0;
            if (header.size() < 2)
                throw AppError(AppError::SubscriptOutOfRange,
                               QStringLiteral("line 12: ") + lines[i]);
            // Any count other than 4, 5 or 6 leaves the rows empty rather than failing.
            columns = header[1].trimmed().toInt();
            continue;
        }
        const QString value = Scrambler::unscramble(lines[i], Scrambler::kScrambleKey);
        if (line <= 3) {
            if (toTruth(value, line))
                c.position = positions[line - 1];
        } else if (line <= 6) {
            if (toTruth(value, line))
                c.layout = layouts[line - 4];
        } else if (line == 7) {
            c.html5Files = toInteger(value, line) != 0;
        } else if (line < kHeaderLine) {
            refuseControlOnLoad(value, QString::fromLatin1(kLineNames[line - 1]));
            *folders[line - 8] = value;
        } else if (readRows) {
            PlaylistEntry entry;
            if (columns >= 4 && columns <= 6) {
                const QStringList parts = value.split(QLatin1Char('|'));
                const int row = int(c.rows.size() + 1);
                if (parts.size() < columns)
                    throw PlaylistFileError(
                        QStringLiteral("PLAYLIST NOT LOADED. ROW %1 OF THE FILE HAS %2 FIELDS "
                                       "WHERE THE FILE PROMISES %3.")
                            .arg(row)
                            .arg(parts.size())
                            .arg(columns));
                entry = loadedRow(parts, row, columns);
            }
            c.rows.append(entry);
        }
    }
    if (c.rows.isEmpty())
        c.rows.append(PlaylistEntry{});
    return c;
}
