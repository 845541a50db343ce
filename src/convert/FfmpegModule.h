#pragma once

#include <QString>

#include "convert/FfmpegEntry.h"

// FFmpeg's side of the HTML5 copies lives in a module of its own, loaded the first time a copy
// needs it: the programs start without FFmpeg's libraries (and the codecs they pull in), which
// most runs never use. The module sits beside the running program in a portable application folder
// (the build's app/), and in the installation's library folder when installed (AppPaths).
class FfmpegModule {
  public:
    // The running program's module, loaded on the first call and kept for the process.
    static const FfmpegModule& beside();
    // The module at `path`. Once its entry is found it stays loaded for the process: FFmpeg's
    // libraries may leave threads and registrations behind.
    static FfmpegModule load(const QString& path);
    // Where `beside()` looks: the running program's own folder, then its module folder.
    static QString besideProgram();

    bool loaded() const { return m_copy != nullptr; }
    // Why it is not loaded, naming the module's file; empty when it is.
    const QString& error() const { return m_error; }
    // Only when loaded().
    void copy(const FfmpegCopyRequest& request, Html5CopyResult& result) const {
        m_copy(request, result);
    }

  private:
    FfmpegCopyFunction m_copy = nullptr;
    QString m_error;
};
