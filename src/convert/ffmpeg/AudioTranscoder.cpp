#include "convert/ffmpeg/AudioTranscoder.h"

#include <algorithm>

#include "convert/ConversionError.h"
#include "convert/Html5Encoding.h"
#include "convert/ffmpeg/AvError.h"

namespace {

// The source's rate when the encoder takes it, else the next higher one it takes (Opus has only
// 48 kHz above 24 kHz), else its highest.
int chooseSampleRate(const AVCodec& codec, int sourceRate) {
    if (!codec.supported_samplerates)
        return sourceRate;
    int best = 0;
    int highest = 0;
    for (const int* rate = codec.supported_samplerates; *rate; ++rate) {
        highest = std::max(highest, *rate);
        if (*rate >= sourceRate && (best == 0 || *rate < best))
            best = *rate;
    }
    return best ? best : highest;
}

// The usual layout for that many channels: Flash files do not say which speaker is which.
AVChannelLayout defaultLayout(int channels) {
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, channels);
    return layout;
}

}  // namespace

AudioTranscoder::AudioTranscoder(const AVStream& source, CopyMuxer& muxer,
                                 const Html5Encoding& encoding, const QString& sourcePath)
    : m_source(source),
      m_sourcePath(sourcePath),
      m_decoder(source, sourcePath),
      m_encoder(encoding.audioEncoder, muxer, sourcePath) {
    const AVCodecParameters& parameters = *source.codecpar;
    if (parameters.sample_rate <= 0 || parameters.ch_layout.nb_channels <= 0)
        throw ConversionError(QStringLiteral("CANNOT DECODE THE SOUND OF ") + sourcePath);
    AVCodecContext& context = m_encoder.context();
    const AVCodec& codec = m_encoder.codec();
    context.sample_fmt = codec.sample_fmts ? codec.sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    context.sample_rate = chooseSampleRate(codec, parameters.sample_rate);
    context.ch_layout = defaultLayout(parameters.ch_layout.nb_channels);
    context.bit_rate = encoding.audioBitRate;
    context.time_base = AVRational{1, context.sample_rate};
    m_encoder.open({});
    const bool anySize = codec.capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE;
    m_frameSize = anySize || context.frame_size <= 0 ? 1024 : context.frame_size;
    m_fifo.reset(
        av_audio_fifo_alloc(context.sample_fmt, context.ch_layout.nb_channels, 2 * m_frameSize));
    if (!m_fifo)
        throw ConversionError(QStringLiteral("OUT OF MEMORY"));
}

void AudioTranscoder::send(AVPacket& packet) {
    m_decoder.decode(&packet, [this](AVFrame& frame) { take(frame); });
}

void AudioTranscoder::finish() {
    m_decoder.decode(nullptr, [this](AVFrame& frame) { take(frame); });
    if (m_decoder.framesDecoded() == 0)
        throw ConversionError(QStringLiteral("CANNOT DECODE THE SOUND OF ") + m_sourcePath);
    if (m_decoder.mostlyUndecodable())
        throw ConversionError(QStringLiteral("CANNOT DECODE THE SOUND OF %1 (%2)")
                                  .arg(m_sourcePath, Decoder::mostlyUndecodableReason()));
    queue(nullptr);
    encodeQueued(true);
    m_encoder.encode(nullptr);
}

void AudioTranscoder::take(AVFrame& frame) {
    if (m_nextPts == AV_NOPTS_VALUE) {
        // The copy's sound starts where the source's does; after that the samples set the pace.
        const int64_t start =
            frame.best_effort_timestamp != AV_NOPTS_VALUE ? frame.best_effort_timestamp : 0;
        m_nextPts = av_rescale_q(start, m_source.time_base, m_encoder.context().time_base);
    }
    prepareResampler(frame);
    queue(&frame);
    encodeQueued(false);
}

void AudioTranscoder::prepareResampler(const AVFrame& frame) {
    if (m_resample && frame.sample_rate == m_inputRate && frame.format == m_inputFormat &&
        frame.ch_layout.nb_channels == m_inputLayout.nb_channels)
        return;
    if (m_resample)
        queue(nullptr);  // what the old settings still hold comes first
    m_inputRate = frame.sample_rate;
    m_inputFormat = frame.format;
    m_inputLayout = defaultLayout(frame.ch_layout.nb_channels);
    AVCodecContext& target = m_encoder.context();
    SwrContext* resample = nullptr;
    const QString cannotConvert = QStringLiteral("CANNOT CONVERT THE SOUND OF ") + m_sourcePath;
    AvError::check(
        swr_alloc_set_opts2(&resample, &target.ch_layout, target.sample_fmt, target.sample_rate,
                            &m_inputLayout, AVSampleFormat(m_inputFormat), m_inputRate, 0, nullptr),
        cannotConvert);
    m_resample.reset(resample);
    AvError::check(swr_init(m_resample.get()), cannotConvert);
}

void AudioTranscoder::queue(const AVFrame* frame) {
    if (!m_resample)
        return;
    const int inputSamples = frame ? frame->nb_samples : 0;
    const int room = swr_get_out_samples(m_resample.get(), inputSamples);
    if (room <= 0)
        return;
    const AVCodecContext& target = m_encoder.context();
    if (m_resampled->nb_samples < room) {
        av_frame_unref(m_resampled.get());
        m_resampled->format = target.sample_fmt;
        m_resampled->sample_rate = target.sample_rate;
        m_resampled->nb_samples = room;
        AvError::check(av_channel_layout_copy(&m_resampled->ch_layout, &target.ch_layout),
                       QStringLiteral("OUT OF MEMORY"));
        AvError::check(av_frame_get_buffer(m_resampled.get(), 0), QStringLiteral("OUT OF MEMORY"));
    }
    const int made = AvError::check(
        swr_convert(m_resample.get(), m_resampled->extended_data, room,
                    frame ? const_cast<const uint8_t**>(frame->extended_data) : nullptr,
                    inputSamples),
        QStringLiteral("CANNOT CONVERT THE SOUND OF ") + m_sourcePath);
    if (made > 0 &&
        av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(m_resampled->extended_data),
                            made) < made)
        throw ConversionError(QStringLiteral("OUT OF MEMORY"));
}

void AudioTranscoder::encodeQueued(bool end) {
    const AVCodecContext& target = m_encoder.context();
    const bool shortLastFrame = m_encoder.codec().capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME;
    while (av_audio_fifo_size(m_fifo.get()) >= m_frameSize ||
           (end && av_audio_fifo_size(m_fifo.get()) > 0)) {
        const int samples = std::min(av_audio_fifo_size(m_fifo.get()), m_frameSize);
        av::Frame frame = av::makeFrame();
        frame->format = target.sample_fmt;
        frame->sample_rate = target.sample_rate;
        frame->nb_samples = samples < m_frameSize && !shortLastFrame ? m_frameSize : samples;
        AvError::check(av_channel_layout_copy(&frame->ch_layout, &target.ch_layout),
                       QStringLiteral("OUT OF MEMORY"));
        AvError::check(av_frame_get_buffer(frame.get(), 0), QStringLiteral("OUT OF MEMORY"));
        av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void**>(frame->extended_data), samples);
        // An encoder that takes only whole frames gets the last one padded with silence.
        if (frame->nb_samples > samples)
            av_samples_set_silence(frame->extended_data, samples, frame->nb_samples - samples,
                                   target.ch_layout.nb_channels, target.sample_fmt);
        frame->pts = m_nextPts;
        m_nextPts += frame->nb_samples;
        m_encoder.encode(frame.get());
    }
}
