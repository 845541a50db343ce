#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "convert/Html5Format.h"

// How far a copy has come: `fraction` from 0 to 1, and the seconds it still needs once that can
// be told.
struct CopyProgress {
    double fraction = 0;
    std::optional<double> secondsLeft;
};

// Called while a copy is made, a few times a second and once with 1 at the end; returning false
// cancels the copy. It runs on the thread that called `Html5Copy::make`.
using CopyProgressCallback = std::function<bool(const CopyProgress&)>;

struct Html5CopyResult {
    enum class Outcome { Made, Cancelled, Failed };

    Outcome outcome = Outcome::Failed;
    QString message;         // why it failed, naming the file
    bool reencoded = false;  // a stream had to be encoded; false when every packet was copied
    // The MP4 was made by our own remux of an H.264 + AAC FLV, at file copy speed, rather than
    // through FFmpeg's libraries.
    bool ownRemux = false;

    bool made() const { return outcome == Outcome::Made; }
};

// Makes an HTML5 copy of a Flash video with FFmpeg's libraries. Streams the format can hold as
// they are (H.264 and AAC in an MP4) are copied packet for packet; any other picture is encoded to
// H.264 (or VP9) in 4:2:0 at even dimensions, any other sound to AAC (or Opus). An MP4 has its
// index first ("faststart"), so a browser plays it while it downloads. An FLV of H.264 and AAC
// becomes an MP4 by our own remux (FlvRemux), which copies the payload bytes with the kernel;
// whatever that remux cannot reproduce exactly goes through FFmpeg. FFmpeg's side is a module
// (FfmpegModule) loaded on the first copy that needs it; a missing one fails that copy with a
// message naming the module.
//
// `make` blocks until the copy is done and touches no Qt object, so a window runs it on a worker
// thread (std::thread, QThread, QtConcurrent) and passes progress back with a queued call; the
// callback's answer is how a Cancel button reaches it. The copy is written beside the target
// under a hidden name and renamed over the target only when it is complete, so a cancel or a
// failure leaves no partial file and an existing target as it was. The source is only read.
class Html5Copy {
  public:
    static Html5CopyResult make(const QString& source, const QString& target, Html5Format format,
                                const CopyProgressCallback& progress = {});
};
