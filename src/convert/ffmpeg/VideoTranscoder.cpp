#include "convert/ffmpeg/VideoTranscoder.h"

#include <algorithm>

#include "convert/ConversionError.h"
#include "convert/Html5Encoding.h"
#include "convert/ffmpeg/AvError.h"

namespace {

// A picture one pixel wider or higher than even loses that column or row.
int evenDown(int size) {
    return std::max(2, size & ~1);
}

}  // namespace

VideoTranscoder::VideoTranscoder(const AVStream& source, CopyMuxer& muxer,
                                 const Html5Encoding& encoding, const QString& sourcePath)
    : m_sourcePath(sourcePath),
      m_decoder(source, sourcePath),
      m_encoder(encoding.videoEncoder, muxer, sourcePath) {
    const AVCodecParameters& parameters = *source.codecpar;
    if (parameters.width <= 0 || parameters.height <= 0)
        throw ConversionError(QStringLiteral("CANNOT DECODE THE PICTURE OF ") + sourcePath);
    AVCodecContext& context = m_encoder.context();
    context.width = evenDown(parameters.width);
    context.height = evenDown(parameters.height);
    context.pix_fmt = AV_PIX_FMT_YUV420P;
    context.sample_aspect_ratio = parameters.sample_aspect_ratio;
    // The source's own clock (milliseconds in a Flash file), so no frame moves or is dropped;
    // the frame rate tells the encoder's rate control the pace.
    context.time_base = source.time_base;
    context.framerate = source.avg_frame_rate.num > 0 ? source.avg_frame_rate : source.r_frame_rate;
    m_encoder.open(encoding.videoOptions);
}

void VideoTranscoder::send(AVPacket& packet) {
    m_decoder.decode(&packet, [this](AVFrame& frame) { encodeFrame(frame); });
}

void VideoTranscoder::finish() {
    m_decoder.decode(nullptr, [this](AVFrame& frame) { encodeFrame(frame); });
    if (m_decoder.framesDecoded() == 0)
        throw ConversionError(QStringLiteral("CANNOT DECODE THE PICTURE OF ") + m_sourcePath);
    m_encoder.encode(nullptr);
}

void VideoTranscoder::encodeFrame(AVFrame& frame) {
    // Times must rise strictly; a frame stamped at or before the last one has no place.
    const int64_t pts = frame.best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE || (m_lastPts != AV_NOPTS_VALUE && pts <= m_lastPts))
        return;
    m_lastPts = pts;
    AVFrame& picture = converted(frame);
    picture.pts = pts;
    // The source's keyframes are no reason for the encoder's: it chooses its own.
    picture.pict_type = AV_PICTURE_TYPE_NONE;
    m_encoder.encode(&picture);
}

AVFrame& VideoTranscoder::converted(AVFrame& frame) {
    const AVCodecContext& target = m_encoder.context();
    if (frame.format == target.pix_fmt && frame.width == target.width &&
        frame.height == target.height)
        return frame;
    m_scale.reset(sws_getCachedContext(m_scale.release(), frame.width, frame.height,
                                       AVPixelFormat(frame.format), target.width, target.height,
                                       target.pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!m_scale)
        throw ConversionError(QStringLiteral("CANNOT CONVERT THE PICTURE OF ") + m_sourcePath);
    if (!m_scaled->data[0]) {
        m_scaled->format = target.pix_fmt;
        m_scaled->width = target.width;
        m_scaled->height = target.height;
        AvError::check(av_frame_get_buffer(m_scaled.get(), 0), QStringLiteral("OUT OF MEMORY"));
    }
    AvError::check(av_frame_make_writable(m_scaled.get()), QStringLiteral("OUT OF MEMORY"));
    sws_scale(m_scale.get(), frame.data, frame.linesize, 0, frame.height, m_scaled->data,
              m_scaled->linesize);
    av_frame_copy_props(m_scaled.get(), &frame);
    return *m_scaled;
}
