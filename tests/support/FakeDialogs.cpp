#include "FakeDialogs.h"

Dialogs::Answer FakeDialogs::message(const QString& text, Icon icon, Buttons buttons,
                                     const QString& title) {
    messages.append({text, icon, buttons, title});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return answers.isEmpty() ? Answer::No : answers.dequeue();
}

std::optional<QStringList> FakeDialogs::openFiles(const FileRequest& request) {
    fileRequests.append(request);
    return openAnswers.isEmpty() ? std::nullopt : openAnswers.dequeue();
}

std::optional<QString> FakeDialogs::chooseSaveFile(const FileRequest& request) {
    fileRequests.append(request);
    return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.dequeue();
}

std::optional<QString> FakeDialogs::browseFolder(const QString& title) {
    folderTitles.append(title);
    return folderAnswers.isEmpty() ? std::nullopt : folderAnswers.dequeue();
}

std::optional<quint32> FakeDialogs::chooseColour(quint32 initial) {
    colourRequests.append(initial);
    return colourAnswers.isEmpty() ? std::nullopt : colourAnswers.dequeue();
}

QStringList FakeDialogs::texts() const {
    QStringList out;
    for (const Shown& m : messages)
        out.append(m.text);
    return out;
}
