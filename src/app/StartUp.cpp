#include "app/StartUp.h"

#include <QDir>
#include <QFileInfo>

#include "app/MainController.h"
#include "media/PlaylistFile.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/FileOps.h"
#include "platform/InstanceGuard.h"
#include "platform/ScratchFolder.h"
#include "platform/Views.h"
#include "settings/ProfileValueError.h"

namespace {

QString scratchFolder(const MainController& c) {
    return ScratchFolder::path(c.paths());
}

QString thumbsFolder(const MainController& c) {
    return ScratchFolder::file(c.paths(), QStringLiteral("thumbs"));
}

}  // namespace

QString StartUp::argumentPath(const QString& argument) {
    if (argument.size() >= 2 && argument.startsWith(u'"') && argument.endsWith(u'"'))
        return argument.mid(1, argument.size() - 2);
    return argument;
}

bool StartUp::isPlaylistPath(const QString& path) {
    return QFileInfo(path).suffix().compare(u"plf", Qt::CaseInsensitive) == 0;
}

bool StartUp::run(MainController& controller, InstanceGuard& guard, const QString& argument) {
    Dialogs& dialogs = controller.dialogs();
    if (!guard.acquire()) {
        dialogs.error(QStringLiteral("THIS SOFTWARE IS ALREADY OPEN!"));
        return false;
    }
    try {
        controller.paths().prepare();
    } catch (const AppError& error) {
        dialogs.reportError(error);
        return false;
    }
    if (!emptyScratchFolders(controller))
        return false;
    try {
        if (!controller.loadInstallation())
            return false;
    } catch (const AppError& error) {
        dialogs.reportError(error);
        return false;
    }
    controller.views().setBusy(true);
    controller.views().showSplash();
    controller.views().setBusy(false);
    return argument.isEmpty() || openFile(controller, argumentPath(argument));
}

// A file still open in a browser cannot be deleted on some systems: the user is warned and
// start-up goes on with the next step.
bool StartUp::emptyScratchFolders(MainController& controller) {
    for (const QString& folder : {scratchFolder(controller), thumbsFolder(controller)}) {
        try {
            FileOps::deleteMatching(folder, QStringLiteral("*"));
        } catch (const AppError& error) {
            if (error.number() != AppError::PermissionDenied) {
                controller.dialogs().reportError(error);
                return false;
            }
            controller.dialogs().warning(QStringLiteral(
                "THE FLV FILE IS IN USE BY A PREVIOUS SESSION. CHECK ALL BROWSER WINDOWS."));
        }
    }
    try {
        FileOps::makeFolder(thumbsFolder(controller));
    } catch (const AppError& error) {
        controller.dialogs().reportError(error);
        return false;
    }
    return true;
}

bool StartUp::openFile(MainController& controller, const QString& path) {
    if (!isPlaylistPath(path))
        return loadProfile(controller, path);
    loadPlaylist(controller, path);
    return true;
}

bool StartUp::loadProfile(MainController& controller, const QString& path) {
    try {
        controller.readProfile(path);
    } catch (const ProfileValueError& error) {
        // The file was refused before any setting changed, so the program starts as it would
        // without it.
        controller.dialogs().error(error.message());
    } catch (const AppError& error) {
        if (error.number() != AppError::FileNotFound) {
            controller.dialogs().reportError(error);
            return false;
        }
        controller.dialogs().warning(QStringLiteral(
            "PREVIOUS SESSION FILE MISSING. CHECK ALL VIDEO AND IMAGE FILE LOCATIONS."));
    }
    return true;
}

// A playlist that cannot be loaded never ends the program: nothing has changed, and the main
// window is as it would be without the argument.
void StartUp::loadPlaylist(MainController& controller, const QString& path) {
    Dialogs& dialogs = controller.dialogs();
    try {
        controller.openPlaylist(path);
    } catch (const PlaylistFileError& error) {
        dialogs.error(error.message());
    } catch (const AppError& error) {
        if (error.number() == AppError::FileNotFound)
            dialogs.warning(QStringLiteral("PLAYLIST FILE NOT FOUND: ") + path);
        else if (error.path().isEmpty())
            // The file was read, but a value in it does not convert.
            dialogs.error(QStringLiteral("PLAYLIST NOT LOADED. THE FILE IS DAMAGED OR IS NOT A "
                                         "PLAYLIST: ") +
                          path);
        else
            dialogs.reportError(error);
    }
}

bool StartUp::confirmClose(MainController& controller) {
    if (!controller.dialogs().confirm(QStringLiteral("CLOSE SOFTWARE?")))
        return false;
    if (FileOps::fileExists(ScratchFolder::localTestPage(controller.paths()))) {
        try {
            FileOps::deleteMatching(scratchFolder(controller), QStringLiteral("*"));
        } catch (const AppError&) {
            // Shut-down goes on; the next start-up empties the folder again.
        }
    }
    return true;
}
