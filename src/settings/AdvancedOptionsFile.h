#pragma once

#include <QString>

#include "settings/AdvancedOptions.h"

// configsv.txt of the configuration folder: the advanced options, seven lines per group (buffer,
// hide-controls check as " 0 " or " 1 ", items, playlist width, font size, no-Flash message,
// no-HTML5 message).
class AdvancedOptionsFile {
  public:
    static const QString kIncompleteMessage;
    static const QString kBadCheckMessage;

    static QString path(const QString& configFolder);

    // The values the program ships with, in force whenever the file cannot be used.
    static AdvancedOptions defaults();

    // The last complete group of seven lines. Never fails: a missing, unreadable or short file
    // gives the defaults, and a line 2 that is not 0 or 1 leaves the check off; `problem` then
    // receives the message for the user (it is emptied when the file was fine). A file that is
    // there but cannot be read (not a regular file, no permission) is refused without waiting,
    // and the message adds "Reading PATH" and the cause on lines of their own.
    static AdvancedOptions read(const QString& configFolder, QString* problem = nullptr);

    // Seven lines, each on one line: line breaks inside a value become one blank each. Saved
    // whole or not at all; failures raise AppError.
    static void write(const QString& configFolder, const AdvancedOptions& options);
};
