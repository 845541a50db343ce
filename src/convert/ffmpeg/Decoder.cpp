#include "convert/ffmpeg/Decoder.h"

#include "convert/ConversionError.h"
#include "convert/ffmpeg/AvError.h"

Decoder::Decoder(const AVStream& stream, const QString& sourcePath) {
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    const QString cannotDecode =
        QStringLiteral("CANNOT DECODE THE %1 OF %2")
            .arg(stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO ? QStringLiteral("PICTURE")
                                                                   : QStringLiteral("SOUND"),
                 sourcePath);
    if (!codec)
        throw ConversionError(cannotDecode +
                              QStringLiteral(" (no decoder for %1)")
                                  .arg(QLatin1String(avcodec_get_name(stream.codecpar->codec_id))));
    m_context.reset(avcodec_alloc_context3(codec));
    if (!m_context)
        throw ConversionError(QStringLiteral("OUT OF MEMORY"));
    AvError::check(avcodec_parameters_to_context(m_context.get(), stream.codecpar), cannotDecode);
    m_context->pkt_timebase = stream.time_base;
    m_context->thread_count = 0;  // as many as the machine has
    // FFmpeg's codes for a refused configuration read as something else ("Operation not
    // permitted" for AAC without channels), so the message says what they mean here.
    if (avcodec_open2(m_context.get(), codec, nullptr) < 0)
        throw ConversionError(
            cannotDecode + QStringLiteral(" (its codec configuration is damaged or unsupported)"));
}

bool Decoder::opens(const AVStream& stream) {
    try {
        const Decoder probe(stream, QString());
        return true;
    } catch (const ConversionError&) {
        return false;
    }
}

bool Decoder::decode(const AVPacket* packet, const std::function<void(AVFrame&)>& take) {
    const int sent = avcodec_send_packet(m_context.get(), packet);
    if (sent == AVERROR(ENOMEM))
        throw ConversionError(QStringLiteral("OUT OF MEMORY"));
    // A sound decoder reports a frame it cannot decode here, a picture decoder with threads
    // when the frame comes out.
    bool whole = sent >= 0 || sent == AVERROR(EAGAIN) || sent == AVERROR_EOF;
    for (;;) {
        const int received = avcodec_receive_frame(m_context.get(), m_frame.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            break;
        if (received == AVERROR(ENOMEM))
            throw ConversionError(QStringLiteral("OUT OF MEMORY"));
        if (received < 0) {
            whole = false;
            continue;  // a picture or sound that cannot be decoded is left out
        }
        ++m_frames;
        take(*m_frame);
        av_frame_unref(m_frame.get());
    }
    if (packet) {
        ++m_packets;
        m_rejected += whole ? 0 : 1;
    }
    return whole;
}
