#include "platform/ScratchFolder.h"

#include "platform/FileOps.h"

namespace ScratchFolder {

QString path(const AppPaths& paths) {
    return paths.scratch + FileOps::separator();
}

QString file(const AppPaths& paths, const QString& name) {
    return path(paths) + name;
}

QString thumbs(const AppPaths& paths) {
    return file(paths, QStringLiteral("thumbs")) + FileOps::separator();
}

QString thumbsWork(const AppPaths& paths) {
    return thumbs(paths) + QStringLiteral(".vidlark-work") + FileOps::separator();
}

QString localTestPage(const AppPaths& paths) {
    return file(paths, QStringLiteral("do-not-upload.html"));
}

}  // namespace ScratchFolder
