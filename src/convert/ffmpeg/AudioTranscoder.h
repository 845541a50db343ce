#pragma once

#include <QString>

#include "convert/ffmpeg/Decoder.h"
#include "convert/ffmpeg/Encoder.h"
#include "convert/ffmpeg/StreamPipe.h"

class CopyMuxer;
struct Html5Encoding;

// A sound stream the copy cannot hold as it is: decoded, resampled to what the encoder takes
// (a Flash file may change its rate or channels between tags), gathered into the encoder's frame
// size and encoded.
class AudioTranscoder : public StreamPipe {
  public:
    AudioTranscoder(const AVStream& source, CopyMuxer& muxer, const Html5Encoding& encoding,
                    const QString& sourcePath);

    void send(AVPacket& packet) override;
    void finish() override;

  private:
    void take(AVFrame& frame);
    void prepareResampler(const AVFrame& frame);
    // Resamples `frame` (null: what the resampler still holds) into the queue.
    void queue(const AVFrame* frame);
    // Encodes whole frames from the queue; at the end also the last, shorter one.
    void encodeQueued(bool end);

    const AVStream& m_source;
    QString m_sourcePath;
    Decoder m_decoder;
    Encoder m_encoder;
    int m_frameSize = 0;
    av::Resample m_resample;
    AVChannelLayout m_inputLayout{};
    int m_inputRate = 0;
    int m_inputFormat = -1;
    av::Fifo m_fifo;
    av::Frame m_resampled = av::makeFrame();
    int64_t m_nextPts = AV_NOPTS_VALUE;
};
