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
    AvError::check(avcodec_open2(m_context.get(), codec, nullptr), cannotDecode);
}

void Decoder::decode(const AVPacket* packet, const std::function<void(AVFrame&)>& take) {
    const int sent = avcodec_send_packet(m_context.get(), packet);
    if (sent == AVERROR(ENOMEM))
        throw ConversionError(QStringLiteral("OUT OF MEMORY"));
    for (;;) {
        const int received = avcodec_receive_frame(m_context.get(), m_frame.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return;
        if (received == AVERROR(ENOMEM))
            throw ConversionError(QStringLiteral("OUT OF MEMORY"));
        if (received < 0)
            continue;  // a picture or sound that cannot be decoded is left out
        ++m_frames;
        take(*m_frame);
        av_frame_unref(m_frame.get());
    }
}
