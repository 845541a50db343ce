#include <QApplication>
#include <QStringList>

#include "app/MainController.h"
#include "app/StartUp.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/InfoOptions.h"
#include "platform/InstanceGuard.h"
#include "platform/RandomSource.h"
#include "ui/DesktopHelp.h"
#include "ui/FrmMain.h"
#include "ui/QtDialogs.h"
#include "ui/QtViews.h"

// vidlark [PROFILE.epe]: the desktop program. Its files are found from its own (AppPaths); the
// only argument is an optional profile to open.
int main(int argc, char** argv) {
    // Answered before QApplication exists, so they work without a display.
    if (argc > 1) {
        const QString first = QString::fromLocal8Bit(argv[1]);
        if (const std::optional<int> status =
                InfoOptions::answer(first, "vidlark", DesktopHelp::text()))
            return *status;
    }
    QApplication app(argc, argv);
    QtDialogs dialogs;
    QtViews views;
    SystemClock clock;
    SystemRandom random;
    const AppPaths paths = AppPaths::ofProgram();
    MainController controller(paths, dialogs, views, clock, random);
    FrmMain frmMain(controller);
    dialogs.setOwner(&frmMain);
    views.attach(controller, frmMain);

    // A second copy only shows its message: its window never appears.
    InstanceGuard guard(paths.lock);
    if (guard.acquire())
        frmMain.show();
    const QStringList arguments = QCoreApplication::arguments();
    if (!StartUp::run(controller, guard, arguments.size() > 1 ? arguments.at(1) : QString()))
        return 1;
    frmMain.refresh();
    return QApplication::exec();
}
