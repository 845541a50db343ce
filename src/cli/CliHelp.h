#pragma once

#include <QString>

// The text of vidlark-cli --help: every command and option, the exit statuses, and where to read
// more. The short usage of a wrong command line stays GenerateCommand::usage().
class CliHelp {
  public:
    static QString text();
};
