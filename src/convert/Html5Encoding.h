#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

#include "convert/Html5Format.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

// What a copy of each format holds and how a stream that cannot be copied is encoded. One place
// for the settings, so the benchmark can give the ffmpeg command line exactly the same ones.
struct Html5Encoding {
    const char* muxer;    // "mp4", "webm"
    AVCodecID keptVideo;  // a source stream in this codec is copied packet for packet
    AVCodecID keptAudio;
    const char* videoEncoder;                                 // "libx264", "libvpx-vp9"
    QList<std::pair<const char*, const char*>> videoOptions;  // the encoder's private options
    const char* audioEncoder;                                 // "aac", "libopus"
    qint64 audioBitRate;
    const char* muxerFlags;  // "+faststart": the index first, so it plays while it downloads

    static const Html5Encoding& of(Html5Format format);

    // The same job for the ffmpeg command line, between "-i SOURCE" and the target's name.
    QStringList ffmpegArguments() const;
};
