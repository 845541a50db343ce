#include "TestInstallation.h"

#include <QDir>
#include <QFile>

#include "platform/TextFile.h"

TestInstallation::TestInstallation(const QStringList& skins, const QStringList& sizes,
                                   const QStringList& advanced) {
    QDir root(m_dir.path());
    for (const char* folder : {"app/swfs", "app/config", "app/ruffle", "app/temp/thumbs", "out"})
        root.mkpath(QString::fromLatin1(folder));
    for (const QString& skin : skins)
        TextFile::writeBytes(path("app/swfs/" + skin + ".swf"), "FWS");
    TextFile::writeLines(path("app/zevoswf.js"), {"// SWFObject"});
    TextFile::writeLines(path("app/ruffle/ruffle.js"), {"// the emulator"});
    TextFile::writeBytes(path("app/ruffle/core.wasm"), QByteArray("\0asm", 4));
    TextFile::writeLines(path("app/config/configvws.txt"), sizes);
    TextFile::writeLines(path("app/config/configsv.txt"), advanced);
}

void TestInstallation::useBuiltSupportFiles() {
    for (const char* file : {"config/configsv.txt", "zevoswf.js", "flvmdi"}) {
        const QString target = path(QStringLiteral("app/") + QLatin1String(file));
        QFile::remove(target);
        QFile::copy(QStringLiteral(VIDLARK_APP_DIR "/") + QLatin1String(file), target);
    }
}

AppPaths TestInstallation::paths() const {
    return AppPaths::portable(appFolder());
}

QString TestInstallation::appFolder() const {
    return path("app");
}

QString TestInstallation::outputFolder() const {
    return path("out") + QDir::separator();
}

QString TestInstallation::path(const QString& relative) const {
    return m_dir.filePath(relative);
}
