#include "convert/Html5Encoding.h"

namespace {

// x264's own defaults (preset medium, CRF 23): the quality users of the common converters know,
// at a size that suits the web.
const Html5Encoding Mp4{
    "mp4", AV_CODEC_ID_H264, AV_CODEC_ID_AAC, "libx264", {{"preset", "medium"}, {"crf", "23"}},
    "aac", 128000,           "+faststart"};

// Constant quality (a bit rate of 0 lets CRF rule) at the "good" deadline with speed 4 and row
// threads: libvpx's slowest settings take many times longer for little gain.
const Html5Encoding WebM{
    "webm",
    AV_CODEC_ID_VP9,
    AV_CODEC_ID_OPUS,
    "libvpx-vp9",
    {{"crf", "33"}, {"b", "0"}, {"deadline", "good"}, {"cpu-used", "4"}, {"row-mt", "1"}},
    "libopus",
    96000,
    ""};

}  // namespace

const Html5Encoding& Html5Encoding::of(Html5Format format) {
    return format == Html5Format::WebM ? WebM : Mp4;
}

QStringList Html5Encoding::ffmpegArguments() const {
    QStringList args{QStringLiteral("-c:v"), QString::fromLatin1(videoEncoder)};
    for (const auto& [name, value] : videoOptions)
        args << QStringLiteral("-%1:v").arg(QLatin1String(name)) << QString::fromLatin1(value);
    // Even dimensions in 4:2:0, as the copy's own scaler makes them.
    args << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p") << QStringLiteral("-vf")
         << QStringLiteral("scale=trunc(iw/2)*2:trunc(ih/2)*2") << QStringLiteral("-c:a")
         << QString::fromLatin1(audioEncoder) << QStringLiteral("-b:a")
         << QString::number(audioBitRate);
    if (*muxerFlags)
        args << QStringLiteral("-movflags") << QString::fromLatin1(muxerFlags);
    return args << QStringLiteral("-f") << QString::fromLatin1(muxer);
}
