#include "convert/ffmpeg/CopyJob.h"

#include "convert/ConversionError.h"
#include "convert/Html5Encoding.h"
#include "convert/ProgressMeter.h"
#include "convert/ffmpeg/AudioTranscoder.h"
#include "convert/ffmpeg/AvError.h"
#include "convert/ffmpeg/Decoder.h"
#include "convert/ffmpeg/PacketCopy.h"
#include "convert/ffmpeg/VideoTranscoder.h"

namespace {

// Browsers play H.264 and VP9 in 4:2:0 only.
bool isKeptCodec(const AVCodecParameters& stream, const Html5Encoding& encoding) {
    if (stream.codec_type == AVMEDIA_TYPE_AUDIO)
        return stream.codec_id == encoding.keptAudio;
    const auto format = AVPixelFormat(stream.format);
    return stream.codec_id == encoding.keptVideo &&
           (format == AV_PIX_FMT_NONE || format == AV_PIX_FMT_YUV420P ||
            format == AV_PIX_FMT_YUVJ420P);
}

// The copy carries the stream's configuration (the AVC record, the AudioSpecificConfig) into its
// sample description, where a player needs it before the first frame: one missing, or one FFmpeg's
// own decoder refuses (an object type 0, a reserved rate, no channels), would make a copy nothing
// plays. Such a stream is decoded and encoded anew, or refused by its decoder, naming the file.
bool isKept(const AVStream& stream, const Html5Encoding& encoding) {
    return isKeptCodec(*stream.codecpar, encoding) && stream.codecpar->extradata_size > 0 &&
           Decoder::opens(stream);
}

}  // namespace

CopyJob::CopyJob(const QString& source, const QString& target, Html5Format format)
    : m_encoding(Html5Encoding::of(format)),
      m_source(source),
      m_side(target),
      m_muxer(m_side.path(), m_encoding, target) {
    m_pipes.resize(m_source.context()->nb_streams);
    for (const int index : {m_source.videoStream(), m_source.audioStream()}) {
        if (index >= 0)
            m_pipes[index] = makePipe(*m_source.context()->streams[index]);
    }
}

bool CopyJob::run(ProgressMeter& meter) {
    m_muxer.begin();
    av::Packet packet = av::makePacket();
    for (;;) {
        const int read = av_read_frame(m_source.context(), packet.get());
        if (read == AVERROR_EOF)
            break;
        if (read < 0)
            AvError::check(read, QStringLiteral("CANNOT READ THE VIDEO FILE ") + m_source.path());
        // Read before the pipe takes the packet and its times.
        const double fraction = m_source.fractionAt(*packet);
        send(*packet);
        av_packet_unref(packet.get());
        if (!meter.update(fraction))
            return false;
    }
    for (const auto& pipe : m_pipes) {
        if (pipe)
            pipe->finish();
    }
    m_muxer.end();
    m_side.commit();
    return true;
}

std::unique_ptr<StreamPipe> CopyJob::makePipe(const AVStream& stream) {
    if (isKept(stream, m_encoding))
        return std::make_unique<PacketCopy>(stream, m_muxer, m_source.path());
    m_reencodes = true;
    if (stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
        return std::make_unique<VideoTranscoder>(stream, m_muxer, m_encoding, m_source.path());
    return std::make_unique<AudioTranscoder>(stream, m_muxer, m_encoding, m_source.path());
}

// A packet of a stream the copy leaves out, or one the reader marked damaged (the last of a file
// that was cut off), is passed over.
void CopyJob::send(AVPacket& packet) {
    StreamPipe* pipe = m_pipes[packet.stream_index].get();
    if (pipe && !(packet.flags & AV_PKT_FLAG_CORRUPT))
        pipe->send(packet);
}
