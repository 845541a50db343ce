#include "convert/ffmpeg/PacketCopy.h"

#include "convert/ConversionError.h"
#include "convert/ffmpeg/AvError.h"
#include "convert/ffmpeg/CopyMuxer.h"

PacketCopy::PacketCopy(const AVStream& source, CopyMuxer& muxer)
    : m_source(source), m_muxer(muxer), m_stream(muxer.addStream()) {
    AvError::check(avcodec_parameters_copy(m_stream.codecpar, source.codecpar),
                   QStringLiteral("OUT OF MEMORY"));
    // The Flash file's codec tag means nothing in the new container; the muxer picks its own.
    m_stream.codecpar->codec_tag = 0;
    m_stream.time_base = source.time_base;
    m_stream.sample_aspect_ratio = source.sample_aspect_ratio;
}

void PacketCopy::send(AVPacket& packet) {
    av_packet_rescale_ts(&packet, m_source.time_base, m_stream.time_base);
    packet.stream_index = m_stream.index;
    packet.pos = -1;
    m_muxer.write(packet);
}
