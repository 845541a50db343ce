#pragma once

#include <QStringList>

// vidlark-cli profile show FILE.epe: the profile's settings as KEY=VALUE lines.
// vidlark-cli profile write FILE.epe [KEY=VALUE ...]: a profile from such pairs (from standard
// input, one a line, when none are given); unnamed settings take their start-up values, and a
// refused pair writes nothing.
class ProfileCommand {
  public:
    // The arguments after "profile"; the exit status (0 done, 1 refused or failed).
    static int run(const QStringList& args);

    static QString usage();
};
