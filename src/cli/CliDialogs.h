#pragma once

#include <QQueue>
#include <QStringList>

#include "platform/Dialogs.h"

// The user of vidlark-cli: message boxes go to standard error as "Title: TEXT", questions are
// answered No, and dialogs are cancelled, except the file choices the command line asked for,
// which are answered from a queue.
class CliDialogs : public Dialogs {
  public:
    QQueue<QString> chosenFiles;

    Answer message(const QString& text, Icon icon, Buttons buttons, const QString& title) override;
    std::optional<QStringList> openFiles(const FileRequest& request) override;
    std::optional<QString> chooseSaveFile(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> browseFolder(const QString&) override { return std::nullopt; }
    std::optional<quint32> chooseColour(quint32) override { return std::nullopt; }
};
