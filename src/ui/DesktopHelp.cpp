#include "ui/DesktopHelp.h"

#include "app/HelpTexts.h"

QString DesktopHelp::text() {
    return QStringLiteral(R"(Usage: vidlark [PROFILE.epe]
  or:  vidlark --help | --version
Vidlark Streaming Video, the desktop program: choose a video or a playlist, a
player skin, size, tint and behaviours, and generate the code and files that put
the video on a web page. PROFILE.epe, when given, is opened at start-up.

      --help     display this help and exit
      --version  output version information and exit

Exit status: 0 when the program is closed, 1 when it could not start (another
copy is running, or an error at start-up was reported).

Report bugs at )") +
           HelpTexts::supportPage() + QStringLiteral("\nFull documentation: man vidlark\n");
}
