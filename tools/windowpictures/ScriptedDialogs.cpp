#include "ScriptedDialogs.h"

#include <QTextStream>

// A message during the picture run means the pictures would not show what a user sees: it is
// printed, so the script's log tells why.
Dialogs::Answer ScriptedDialogs::message(const QString& text, Icon, Buttons buttons,
                                         const QString& title) {
    QTextStream(stderr) << title << ": " << text << '\n';
    return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
}

std::optional<QStringList> ScriptedDialogs::openFiles(const FileRequest&) {
    return files;
}

std::optional<QString> ScriptedDialogs::chooseSaveFile(const FileRequest&) {
    return {};
}

std::optional<QString> ScriptedDialogs::browseFolder(const QString&) {
    return {};
}

std::optional<quint32> ScriptedDialogs::chooseColour(quint32) {
    return {};
}
