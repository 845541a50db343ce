#include "platform/ScratchFolder.h"

#include "platform/FileOps.h"

namespace ScratchFolder {

QString path(const QString& appFolder) {
    return appFolder + FileOps::separator() + QStringLiteral("temp") + FileOps::separator();
}

QString file(const QString& appFolder, const QString& name) {
    return path(appFolder) + name;
}

QString thumbs(const QString& appFolder) {
    return file(appFolder, QStringLiteral("thumbs")) + FileOps::separator();
}

QString thumbsWork(const QString& appFolder) {
    return thumbs(appFolder) + QStringLiteral(".vidlark-work") + FileOps::separator();
}

QString localTestPage(const QString& appFolder) {
    return file(appFolder, QStringLiteral("do-not-upload.html"));
}

}  // namespace ScratchFolder
