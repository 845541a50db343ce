#pragma once

#include <QString>

#include "convert/ffmpeg/Decoder.h"
#include "convert/ffmpeg/Encoder.h"
#include "convert/ffmpeg/StreamPipe.h"

class CopyMuxer;
struct Html5Encoding;

// A picture stream the copy cannot hold as it is: decoded, brought to 4:2:0 at even dimensions
// (the H.264 and VP9 profiles browsers play need both), and encoded.
class VideoTranscoder : public StreamPipe {
  public:
    VideoTranscoder(const AVStream& source, CopyMuxer& muxer, const Html5Encoding& encoding,
                    const QString& sourcePath);

    void send(AVPacket& packet) override;
    void finish() override;

  private:
    void encodeFrame(AVFrame& frame);
    AVFrame& converted(AVFrame& frame);

    QString m_sourcePath;
    Decoder m_decoder;
    Encoder m_encoder;
    av::Scale m_scale;
    av::Frame m_scaled = av::makeFrame();
    int64_t m_lastPts = AV_NOPTS_VALUE;
};
