#pragma once

#include <QString>
#include <QStringList>

// vidlark-cli serve: serves the local test page of the last run (the scratch folder of the
// application folder, and the emulator's files) on 127.0.0.1, printing its address, until the
// program is interrupted.
class ServeCommand {
  public:
    // Parses the arguments after "serve" into `appFolder`; an error text on a wrong command line.
    static QString parse(const QStringList& args, QString& appFolder);
    // 0 when it ended by an interrupt, 1 when there is nothing to serve or no port.
    static int run(const QString& appFolder);
};
