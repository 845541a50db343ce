#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

#include "media/Playlist.h"

// A playlist that cannot be saved or a playlist file that cannot be loaded, with the text the
// user is shown. Nothing is written, and nothing in the editor changes, when it is raised.
class PlaylistFileError : public std::runtime_error {
  public:
    // `row` (from 1) and `column` name the grid cell of a playlist value that cannot be saved,
    // so the editor can point at it; row 0 names no cell.
    explicit PlaylistFileError(const QString& message, int row = 0, int column = 0)
        : std::runtime_error(message.toStdString()),
          m_message(message),
          m_row(row),
          m_column(column) {}
    QString message() const { return m_message; }
    int row() const { return m_row; }
    int column() const { return m_column; }

  private:
    QString m_message;
    int m_row;
    int m_column;
};

// The playlist file (".plf"): lines 1 to 6 the position and layout options, 7 the HTML5 flag,
// 8 to 11 the four folders, all scrambled; line 12 the plain header "R|C" (grid rows with the
// header row, columns of the layout); then one scrambled line per row, its fields joined by "|".
class PlaylistFile {
  public:
    // What a file holds. The options are those a line set to True; none leaves the editor's.
    struct Contents {
        std::optional<PlaylistPosition> position;
        std::optional<PlaylistLayout> layout;
        bool html5Files = false;
        QString FLVVideoFilesPath;
        QString Mp4VideoFilesPath;
        QString WebMVideoFilesPath;
        QString ThumbImagesPath;
        QList<PlaylistEntry> rows;  // at least one: a file without row lines gives one empty row
    };

    // The lines before scrambling. Raises PlaylistFileError for a "|" in a row field (it would
    // come back as an extra field and shift the row's later columns), a file name that is not a
    // plain name (PlaylistNames) and a control character in a title or description.
    static QStringList plainLines(const Playlist& playlist, bool html5Files);
    // The lines as stored. Raises PlaylistFileError for a value whose scrambled form holds CR or
    // LF, which would split its line and shift every later one, and a folder holding a control
    // character.
    static QStringList fileLines(const Playlist& playlist, bool html5Files);
    // Saved whole or not at all: every value is checked first, then the file is replaced through
    // a temporary file in the same folder. Raises PlaylistFileError or AppError.
    static void write(const QString& path, const Playlist& playlist, bool html5Files);

    // Raises AppError for a file that cannot be read or a value that does not convert (53 for a
    // missing file, 13 for a line that is not a truth value or number, 9 for a header without
    // "|"), and PlaylistFileError for a row line with fewer fields than the header gives, a file
    // name that is not a plain name, or a control character in a folder or a row's text; so a
    // file is taken whole or not at all.
    static Contents read(const QString& path);
    static Contents parse(const QStringList& lines);
};
