#include "convert/ffmpeg/CopyMuxer.h"

#include <QFile>

#include "convert/ConversionError.h"
#include "convert/Html5Encoding.h"
#include "convert/ffmpeg/AvError.h"

CopyMuxer::CopyMuxer(const QString& path, const Html5Encoding& encoding, const QString& targetName)
    : m_encoding(encoding), m_targetName(targetName) {
    AVFormatContext* output = nullptr;
    AvError::check(
        // The path is the context's URL too: "faststart" reopens the file by it to move the index.
        avformat_alloc_output_context2(&output, nullptr, encoding.muxer,
                                       QFile::encodeName(path).constData()),
        cannotWrite());
    m_output.reset(output);
    AvError::check(avio_open(&m_output->pb, QFile::encodeName(path).constData(), AVIO_FLAG_WRITE),
                   cannotWrite());
}

QString CopyMuxer::cannotWrite() const {
    return QStringLiteral("CANNOT WRITE ") + m_targetName;
}

bool CopyMuxer::wantsGlobalHeader() const {
    return m_output->oformat->flags & AVFMT_GLOBALHEADER;
}

AVStream& CopyMuxer::addStream() {
    AVStream* stream = avformat_new_stream(m_output.get(), nullptr);
    if (!stream)
        throw ConversionError(QStringLiteral("OUT OF MEMORY"));
    m_lastDts.push_back(AV_NOPTS_VALUE);
    m_lastDuration.push_back(0);
    return *stream;
}

void CopyMuxer::begin() {
    AVDictionary* options = nullptr;
    if (*m_encoding.muxerFlags)
        av_dict_set(&options, "movflags", m_encoding.muxerFlags, 0);
    const int result = avformat_write_header(m_output.get(), &options);
    av_dict_free(&options);
    AvError::check(result, cannotWrite());
}

// The MP4 muxer takes each sample's length from the next sample's decode time, but the last
// sample's from its packet: x264's packets and the Flash reader's carry none, and a last sample
// of length 0 ends the track's edit list where that frame starts, so no player shows it. The
// muxer sees only one packet at a time: each is given the gap before it, which is all the last
// one keeps.
void CopyMuxer::fillDuration(AVPacket& packet) {
    const auto stream = size_t(packet.stream_index);
    if (stream >= m_lastDts.size() || packet.dts == AV_NOPTS_VALUE)
        return;
    if (m_lastDts[stream] != AV_NOPTS_VALUE && packet.dts > m_lastDts[stream])
        m_lastDuration[stream] = packet.dts - m_lastDts[stream];
    m_lastDts[stream] = packet.dts;
    if (packet.duration <= 0)
        packet.duration = m_lastDuration[stream];
}

void CopyMuxer::write(AVPacket& packet) {
    fillDuration(packet);
    AvError::check(av_interleaved_write_frame(m_output.get(), &packet), cannotWrite());
}

void CopyMuxer::end() {
    AvError::check(av_write_trailer(m_output.get()), cannotWrite());
    AvError::check(avio_closep(&m_output->pb), cannotWrite());
}
