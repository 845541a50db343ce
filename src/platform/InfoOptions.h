#pragma once

#include <QString>
#include <optional>

// --help and --version as GNU programs answer them: the text on standard output and status 0,
// before the program starts anything else, so they need no display and touch no file.
class InfoOptions {
  public:
    // The status to end with when `argument` is one of them, its answer printed: 0, or 1 when
    // standard output could not take it (a full disk, a closed pipe). Nothing for any other
    // argument.
    static std::optional<int> answer(const QString& argument, const char* program,
                                     const QString& help);

    // "PROGRAM (Vidlark Streaming Video) VERSION" and the copyright lines.
    static QByteArray versionText(const char* program);
};
