#include "convert/FfmpegModule.h"

#include <dlfcn.h>

#include <QFile>
#include <QFileInfo>

#include "platform/AppPaths.h"

#ifndef VIDLARK_FFMPEG_MODULE
#error "the build names the module's file in VIDLARK_FFMPEG_MODULE"
#endif

namespace {

QString cannotLoad(const QString& path, const QString& reason) {
    return QStringLiteral("CANNOT LOAD THE VIDEO CONVERTER %1 (%2)").arg(path, reason);
}

}  // namespace

const FfmpegModule& FfmpegModule::beside() {
    static const FfmpegModule module = load(besideProgram());
    return module;
}

FfmpegModule FfmpegModule::load(const QString& path) {
    FfmpegModule module;
    if (!QFileInfo::exists(path)) {
        module.m_error = cannotLoad(path, QStringLiteral("the file is missing"));
        return module;
    }
    // RTLD_NOW: a module that lacks a library it needs fails here, with the linker's reason,
    // rather than in the middle of a copy.
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        module.m_error = cannotLoad(path, QString::fromLocal8Bit(dlerror()));
        return module;
    }
    void* entry = dlsym(handle, FfmpegCopySymbol);
    if (!entry) {
        dlclose(handle);
        module.m_error = cannotLoad(
            path, QStringLiteral("it has no %1; is it from another build?").arg(FfmpegCopySymbol));
        return module;
    }
    module.m_copy = reinterpret_cast<FfmpegCopyFunction>(entry);
    return module;
}

QString FfmpegModule::besideProgram() {
    // A module beside the program is used first: test and benchmark programs have one there
    // without being an application folder.
    const AppPaths paths = AppPaths::ofProgram();
    const QString name = QLatin1Char('/') + QStringLiteral(VIDLARK_FFMPEG_MODULE);
    if (QFileInfo::exists(paths.programs + name))
        return paths.programs + name;
    return paths.modules + name;
}
