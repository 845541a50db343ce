#include "ui/UiPlatform.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

namespace UiPlatform {

void setClipboardText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

bool openUrl(const QString& address) {
    return QDesktopServices::openUrl(QUrl(address));
}

bool openWithDefaultProgram(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool showFileInFolder(const QString& filePath) {
#if defined(Q_OS_WIN)
    // explorer parses its own command line: the path is quoted so that blanks in it survive.
    QProcess explorer;
    explorer.setProgram(QStringLiteral("explorer.exe"));
    explorer.setNativeArguments(
        QStringLiteral("/select, \"%1\"").arg(QDir::toNativeSeparators(filePath)));
    return explorer.startDetached();
#elif defined(Q_OS_MACOS)
    return QProcess::startDetached(QStringLiteral("open"), {QStringLiteral("-R"), filePath});
#else
    // File managers differ in how (and whether) they select a file; opening the folder works with
    // every one of them.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(filePath).absolutePath()));
#endif
}

}  // namespace UiPlatform
