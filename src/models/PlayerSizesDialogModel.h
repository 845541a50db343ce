#pragma once

#include <QString>

class Dialogs;

// What frmVideoPlayerSizes does apart from drawing itself: load the sizes file into the edit
// box, and save the box after asking. Errors end in the common error message; the dialog stays.
class PlayerSizesDialogModel {
  public:
    PlayerSizesDialogModel(Dialogs& dialogs, QString configFolder);

    // The whole file, line breaks included; empty after an error was shown.
    QString load();
    // Asks "DO YOU WANT TO SAVE?"; refuses a text of nothing but blanks and line breaks, which
    // would leave the main window without any size, and a text with a line that is not a size
    // (WIDTHxHEIGHT, then any text), naming the line. True when the file was written.
    bool save(const QString& text);

  private:
    Dialogs& m_dialogs;
    QString m_configFolder;
};
