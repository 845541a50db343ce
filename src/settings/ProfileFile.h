#pragma once

#include <QString>
#include <QStringList>

// The profile file (".epe"): one value per line, each line scrambled with the program's key, the
// meaning of a line given by its position (ProfileLayout). Applying the values to the main window
// belongs to the application.
class ProfileFile {
  public:
    // The unscrambled values, line 1 first. Accepts CR LF and bare LF line ends. Raises
    // ProfileValueError for a value holding a control character its setting cannot hold (all
    // but the end-of-video HTML code are single lines) or an image name that is not a plain file
    // name, before any value is handed out.
    static QStringList readValues(const QString& path);
    // The check readValues makes of the value on `line`, for a value that comes from elsewhere.
    static void checkForLoading(int line, const QString& value);

    // The lines as stored. Raises ProfileValueError for the first value that would scramble into
    // CR or LF, or holds a control character its setting cannot hold, or for an image name that
    // is not a plain file name (and error 6 for a value longer than the scrambler takes).
    static QStringList scrambledLines(const QStringList& values);
    // Saved whole or not at all: every value is checked before anything is written, and the file
    // is replaced through a temporary file in the same folder.
    static void write(const QString& path, const QStringList& values);

    // The name of the setting stored on `line` (from 1), as the user knows it from the window.
    static QString settingName(int line);
};
