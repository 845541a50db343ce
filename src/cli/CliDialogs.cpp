#include "cli/CliDialogs.h"

#include <cstdio>

Dialogs::Answer CliDialogs::message(const QString& text, Icon, Buttons buttons,
                                    const QString& title) {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title.trimmed()), qUtf8Printable(text));
    return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
}

std::optional<QStringList> CliDialogs::openFiles(const FileRequest&) {
    if (chosenFiles.isEmpty())
        return std::nullopt;
    return QStringList{chosenFiles.dequeue()};
}
