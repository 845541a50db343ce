#include "convert/ffmpeg/SourceVideo.h"

#include <QFile>
#include <cstring>

#include "convert/ConversionError.h"
#include "convert/ffmpeg/AvError.h"

namespace {

bool isAcceptedContainer(const AVInputFormat& format) {
    return std::strcmp(format.name, "flv") == 0 || std::strcmp(format.name, "live_flv") == 0 ||
           std::strcmp(format.name, "mov,mp4,m4a,3gp,3g2,mj2") == 0;
}

// The best stream of that kind, if the file has one FFmpeg can say anything about.
int bestStream(AVFormatContext& input, AVMediaType type) {
    const int index = av_find_best_stream(&input, type, -1, -1, nullptr, 0);
    return index >= 0 && input.streams[index]->codecpar->codec_id != AV_CODEC_ID_NONE ? index : -1;
}

}  // namespace

SourceVideo::SourceVideo(const QString& path) : m_path(path) {
    const QString cannotRead = QStringLiteral("CANNOT READ THE VIDEO FILE ") + path;
    AVFormatContext* opened = nullptr;
    AvError::check(
        avformat_open_input(&opened, QFile::encodeName(path).constData(), nullptr, nullptr),
        cannotRead);
    m_input.reset(opened);
    if (!isAcceptedContainer(*m_input->iformat))
        throw ConversionError(cannotRead + QStringLiteral(" (not a Flash or MP4 video)"));
    AvError::check(avformat_find_stream_info(m_input.get(), nullptr), cannotRead);
    m_video = bestStream(*m_input, AVMEDIA_TYPE_VIDEO);
    m_audio = bestStream(*m_input, AVMEDIA_TYPE_AUDIO);
    if (m_video < 0 && m_audio < 0)
        throw ConversionError(cannotRead + QStringLiteral(" (it holds no picture and no sound)"));
}

double SourceVideo::fractionAt(const AVPacket& packet) const {
    const AVStream& stream = *m_input->streams[packet.stream_index];
    const int64_t time = packet.dts != AV_NOPTS_VALUE ? packet.dts : packet.pts;
    if (m_input->duration > 0 && time != AV_NOPTS_VALUE) {
        const int64_t start = m_input->start_time != AV_NOPTS_VALUE ? m_input->start_time : 0;
        const int64_t at =
            av_rescale_q(time, stream.time_base, AVRational{1, AV_TIME_BASE}) - start;
        return double(at) / double(m_input->duration);
    }
    const int64_t size = avio_size(m_input->pb);
    return size > 0 ? double(avio_tell(m_input->pb)) / double(size) : 0.0;
}
