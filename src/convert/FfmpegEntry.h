#pragma once

#include <QString>

#include "convert/Html5Copy.h"
#include "convert/Html5Format.h"

// What the programs and the FFmpeg module (libvidlark-ffmpeg.so, built from convert/ffmpeg) agree
// on. Both come from the same build, so C++ types pass between them; the version in the symbol's
// name makes a module left over from an older build refuse to load instead of misreading these.
struct FfmpegCopyRequest {
    const QString& source;
    const QString& target;
    Html5Format format;
    const CopyProgressCallback& progress;
};

// Makes the copy with FFmpeg's libraries and fills in every field of the result; throws nothing.
using FfmpegCopyFunction = void (*)(const FfmpegCopyRequest& request, Html5CopyResult& result);

inline constexpr const char* FfmpegCopySymbol = "vidlarkFfmpegCopyV1";
