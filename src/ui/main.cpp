#include <QApplication>
#include <QIcon>
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

namespace {

// The icon theme's, where the program is installed; the copy built into the program elsewhere.
QIcon windowIcon() {
    QIcon builtIn;
    for (int size : {16, 32, 48, 256})
        builtIn.addFile(QStringLiteral(":/icons/vidlark-%1.png").arg(size));
    return QIcon::fromTheme(QStringLiteral("vidlark"), builtIn);
}

}  // namespace

// vidlark [PROFILE.epe | PLAYLIST.plf]: the desktop program. Its files are found from its own
// (AppPaths); the only argument is an optional profile or playlist to open.
int main(int argc, char** argv) {
    // Answered before QApplication exists, so they work without a display.
    if (argc > 1) {
        const QString first = QString::fromLocal8Bit(argv[1]);
        if (const std::optional<int> status =
                InfoOptions::answer(first, "vidlark", DesktopHelp::text()))
            return *status;
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(windowIcon());
    // Wayland desktops find the running program's menu entry, and its icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("vidlark"));
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
