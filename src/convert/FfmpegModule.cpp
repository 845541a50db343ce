#include "convert/FfmpegModule.h"

#include <dlfcn.h>

#include <QFile>
#include <QFileInfo>

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
    // The program's own file rather than QCoreApplication::applicationDirPath(), which needs an
    // application object that a copy made from a plain tool may not have.
    const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return folder + QLatin1Char('/') + QStringLiteral(VIDLARK_FFMPEG_MODULE);
}
