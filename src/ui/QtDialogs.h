#pragma once

#include <memory>

#include "platform/Dialogs.h"

class QMessageBox;
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

    // A message as its box shows it: a zero-width break after every folder separator and within
    // every long run of characters without a blank, so a long path wraps inside the box and shows
    // whole instead of running off its edge. Only the shown text: the message itself is unchanged.
    static QString shownText(const QString& text);
    // The box `message` shows, not yet shown.
    static std::unique_ptr<QMessageBox> messageBox(const QString& text, Icon icon, Buttons buttons,
                                                   const QString& title, QWidget* parent);

    // The most characters shown without a place to break the line.
    static constexpr int kLongestRun = 40;

  private:
    QWidget* parentWindow() const;

    QWidget* m_owner = nullptr;
};
