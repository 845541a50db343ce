#include "convert/ffmpeg/PacketCopy.h"

#include "convert/ConversionError.h"
#include "convert/ffmpeg/AvError.h"
#include "convert/ffmpeg/CopyMuxer.h"

PacketCopy::PacketCopy(const AVStream& source, CopyMuxer& muxer, const QString& sourcePath)
    : m_source(source), m_muxer(muxer), m_stream(muxer.addStream()), m_sourcePath(sourcePath) {
    if (source.codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
        m_check.emplace(source, sourcePath);
    AvError::check(avcodec_parameters_copy(m_stream.codecpar, source.codecpar),
                   QStringLiteral("OUT OF MEMORY"));
    // The Flash file's codec tag means nothing in the new container; the muxer picks its own.
    m_stream.codecpar->codec_tag = 0;
    m_stream.time_base = source.time_base;
    m_stream.sample_aspect_ratio = source.sample_aspect_ratio;
}

void PacketCopy::send(AVPacket& packet) {
    if (m_check && !m_check->decode(&packet, [](AVFrame&) {}))
        return;
    av_packet_rescale_ts(&packet, m_source.time_base, m_stream.time_base);
    packet.stream_index = m_stream.index;
    packet.pos = -1;
    m_muxer.write(packet);
}

void PacketCopy::finish() {
    if (!m_check)
        return;
    m_check->decode(nullptr, [](AVFrame&) {});
    if (m_check->mostlyUndecodable())
        throw ConversionError(QStringLiteral("CANNOT DECODE THE SOUND OF %1 (%2)")
                                  .arg(m_sourcePath, Decoder::mostlyUndecodableReason()));
}
