#pragma once

#include "platform/Dialogs.h"

class QWidget;

// The desktop program's Dialogs: Qt's message boxes and its file, folder and colour choosers,
// each modal over the window the user is working in.
class QtDialogs : public Dialogs {
  public:
    // The window that owns the dialogs when no other window of the program is active.
    void setOwner(QWidget* owner) { m_owner = owner; }

    Answer message(const QString& text, Icon icon, Buttons buttons, const QString& title) override;
    std::optional<QStringList> openFiles(const FileRequest& request) override;
    std::optional<QString> chooseSaveFile(const FileRequest& request) override;
    std::optional<QString> browseFolder(const QString& title) override;
    std::optional<quint32> chooseColour(quint32 initial) override;

    // "desc|pattern|desc|pattern" as the program writes its filters, in Qt's form
    // "desc (pattern);;desc (pattern)"; patterns separated by ";" become blank-separated.
    static QString qtFilter(const QString& filter);

  private:
    QWidget* parentWindow() const;

    QWidget* m_owner = nullptr;
};
