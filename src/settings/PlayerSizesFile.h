#pragma once

#include <QString>
#include <QStringList>

// configvws.txt of the configuration folder: the player sizes offered in the main window, one per
// line ("480x270", "640x360 Widescreen"). Not scrambled; installed with the program.
class PlayerSizesFile {
  public:
    static QString path(const QString& configFolder);

    // The non-empty lines, unchanged, in file order. A missing file raises error 53; a file
    // without any entry raises error 9, since there is no first entry to select.
    static QStringList readEntries(const QString& configFolder);

    // The whole file as the sizes dialog shows it, line breaks included.
    static QString readText(const QString& configFolder);
    // Replaces the file with `text` and one CR LF after it, line breaks written as CR LF. Saved
    // whole or not at all.
    static void writeText(const QString& configFolder, const QString& text);
};
