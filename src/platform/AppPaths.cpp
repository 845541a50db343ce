#include "platform/AppPaths.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/FileOps.h"

#ifndef VIDLARK_DATA_FROM_PROGRAMS
#error "the build gives the installed data folder relative to the programs"
#endif
#ifndef VIDLARK_MODULES_FROM_PROGRAMS
#error "the build gives the installed module folder relative to the programs"
#endif

namespace {

// The two configuration files the settings windows rewrite.
const char* const ConfigFiles[] = {"configsv.txt", "configvws.txt"};

bool writableFolder(const QString& path) {
    return QFileInfo(path).isDir() &&
           ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0;
}

// A relative XDG variable is to be ignored, as if unset.
QString xdgFolder(const QString& variable, const QString& home, const QString& fallback) {
    if (!variable.isEmpty() && QDir::isAbsolutePath(variable))
        return QDir::cleanPath(variable);
    return QDir::cleanPath(home + u'/' + fallback);
}

QString beside(const QString& folder, const char* relative) {
    return QDir::cleanPath(folder + u'/' + QString::fromUtf8(relative));
}

}  // namespace

AppPaths AppPaths::portable(const QString& appFolder) {
    AppPaths paths;
    paths.programs = appFolder;
    paths.modules = appFolder;
    paths.data = appFolder;
    paths.config = appFolder + QStringLiteral("/config");
    paths.scratch = appFolder + QStringLiteral("/temp");
    paths.lock = QDir::temp().filePath(QStringLiteral("vidlark-streaming-video-14.lock"));
    return paths;
}

AppPaths AppPaths::locate(const QString& programFolder, const QString& home,
                          const QString& xdgConfigHome, const QString& xdgCacheHome) {
    if (writableFolder(programFolder + QStringLiteral("/temp")))
        return portable(programFolder);
    AppPaths paths;
    paths.installed = true;
    paths.programs = programFolder;
    paths.modules = beside(programFolder, VIDLARK_MODULES_FROM_PROGRAMS);
    paths.data = beside(programFolder, VIDLARK_DATA_FROM_PROGRAMS);
    paths.config =
        xdgFolder(xdgConfigHome, home, QStringLiteral(".config")) + QStringLiteral("/vidlark");
    const QString cache =
        xdgFolder(xdgCacheHome, home, QStringLiteral(".cache")) + QStringLiteral("/vidlark");
    paths.scratch = cache + QStringLiteral("/temp");
    paths.lock = cache + QStringLiteral("/vidlark.lock");
    return paths;
}

AppPaths AppPaths::ofProgram() {
    // The program's own file rather than QCoreApplication::applicationDirPath(), which needs an
    // application object that a plain tool may not have.
    const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return locate(folder, QDir::homePath(), qEnvironmentVariable("XDG_CONFIG_HOME"),
                  qEnvironmentVariable("XDG_CACHE_HOME"));
}

AppPaths AppPaths::chosen(const QString& appFolder) {
    if (appFolder.isEmpty())
        return ofProgram();
    return portable(QDir::cleanPath(QFileInfo(appFolder).absoluteFilePath()));
}

void AppPaths::prepare() const {
    if (!installed)
        return;
    FileOps::makeFolder(config);
    FileOps::makeFolder(scratch);
    for (const char* name : ConfigFiles) {
        const QString mine = config + u'/' + QString::fromLatin1(name);
        if (!QFileInfo::exists(mine))
            FileOps::copyFile(data + QStringLiteral("/config/") + QString::fromLatin1(name), mine);
    }
}
