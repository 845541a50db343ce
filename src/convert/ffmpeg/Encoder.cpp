#include "convert/ffmpeg/Encoder.h"

#include <QList>

#include "convert/ConversionError.h"
#include "convert/ffmpeg/AvError.h"
#include "convert/ffmpeg/CopyMuxer.h"

Encoder::Encoder(const char* encoderName, CopyMuxer& muxer, const QString& sourcePath)
    : m_codec(avcodec_find_encoder_by_name(encoderName)), m_muxer(muxer), m_sourcePath(sourcePath) {
    if (!m_codec)
        throw ConversionError(
            QStringLiteral("THE ENCODER %1 IS MISSING FROM THIS SYSTEM'S FFMPEG LIBRARIES "
                           "(libavcodec); %2 CANNOT BE CONVERTED WITHOUT IT")
                .arg(QLatin1String(encoderName), sourcePath));
    m_context.reset(avcodec_alloc_context3(m_codec));
    if (!m_context)
        throw ConversionError(QStringLiteral("OUT OF MEMORY"));
    m_context->thread_count = 0;  // as many as the machine has
    if (muxer.wantsGlobalHeader())
        m_context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
}

void Encoder::open(const QList<std::pair<const char*, const char*>>& options) {
    AVDictionary* dictionary = nullptr;
    for (const auto& [name, value] : options)
        av_dict_set(&dictionary, name, value, 0);
    const int opened = avcodec_open2(m_context.get(), m_codec, &dictionary);
    av_dict_free(&dictionary);
    const QString cannotEncode =
        QStringLiteral("CANNOT ENCODE %1 WITH %2").arg(m_sourcePath, QLatin1String(m_codec->name));
    AvError::check(opened, cannotEncode);
    m_stream = &m_muxer.addStream();
    AvError::check(avcodec_parameters_from_context(m_stream->codecpar, m_context.get()),
                   cannotEncode);
    m_stream->time_base = m_context->time_base;
    m_stream->sample_aspect_ratio = m_context->sample_aspect_ratio;
}

void Encoder::encode(const AVFrame* frame) {
    // The message is made only on failure: this runs for every picture and every sound frame.
    const auto check = [this](int code) {
        if (code < 0)
            AvError::check(code, QStringLiteral("CANNOT ENCODE ") + m_sourcePath);
    };
    check(avcodec_send_frame(m_context.get(), frame));
    for (;;) {
        const int received = avcodec_receive_packet(m_context.get(), m_packet.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return;
        check(received);
        av_packet_rescale_ts(m_packet.get(), m_context->time_base, m_stream->time_base);
        m_packet->stream_index = m_stream->index;
        m_muxer.write(*m_packet);
    }
}
