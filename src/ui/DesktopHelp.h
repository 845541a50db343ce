#pragma once

#include <QString>

// The text of vidlark --help, printed before any window (or display) exists.
class DesktopHelp {
  public:
    static QString text();
};
