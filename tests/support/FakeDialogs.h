#pragma once

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/Dialogs.h"

// Scripted user: answers come from queues (an empty queue answers No / cancel), and every request
// is logged so a test can assert what the user was shown and asked.
class FakeDialogs : public Dialogs {
  public:
    struct Shown {
        QString text;
        Icon icon;
        Buttons buttons;
        QString title;
    };

    QList<Shown> messages;
    QList<FileRequest> fileRequests;
    QStringList folderTitles;
    QList<quint32> colourRequests;

    QQueue<Answer> answers;  // for Yes/No questions
    QQueue<std::optional<QStringList>> openAnswers;
    QQueue<std::optional<QString>> saveAnswers;
    QQueue<std::optional<QString>> folderAnswers;
    QQueue<std::optional<quint32>> colourAnswers;

    Answer message(const QString& text, Icon icon, Buttons buttons, const QString& title) override;
    std::optional<QStringList> openFiles(const FileRequest& request) override;
    std::optional<QString> chooseSaveFile(const FileRequest& request) override;
    std::optional<QString> browseFolder(const QString& title) override;
    std::optional<quint32> chooseColour(quint32 initial) override;

    // The texts of all messages shown, in order.
    QStringList texts() const;
};
