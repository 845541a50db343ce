#pragma once

#include <QStringList>

#include "platform/Dialogs.h"

// The user of the picture run: every file chooser answers the files it was given, and every
// other question is answered No or cancelled, so nothing waits for a person.
class ScriptedDialogs : public Dialogs {
  public:
    QStringList files;

    Answer message(const QString& text, Icon icon, Buttons buttons, const QString& title) override;
    std::optional<QStringList> openFiles(const FileRequest& request) override;
    std::optional<QString> chooseSaveFile(const FileRequest& request) override;
    std::optional<QString> browseFolder(const QString& title) override;
    std::optional<quint32> chooseColour(quint32 initial) override;
};
