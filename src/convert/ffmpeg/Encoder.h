#pragma once

#include <QList>
#include <QString>
#include <utility>

#include "convert/ffmpeg/AvPointers.h"

class CopyMuxer;

// Encodes one stream of the copy and writes its packets. The owner sets up `context()` and then
// calls `open`, which adds the stream to the container.
class Encoder {
  public:
    // Throws ConversionError when this system's FFmpeg lacks the encoder, naming it and the
    // source it was needed for.
    Encoder(const char* encoderName, CopyMuxer& muxer, const QString& sourcePath);

    AVCodecContext& context() { return *m_context; }
    const AVCodec& codec() const { return *m_codec; }
    void open(const QList<std::pair<const char*, const char*>>& options);
    // Encodes `frame` (null: the end) and writes what comes out.
    void encode(const AVFrame* frame);

  private:
    const AVCodec* m_codec;
    CopyMuxer& m_muxer;
    QString m_sourcePath;
    av::Codec m_context;
    AVStream* m_stream = nullptr;
    av::Packet m_packet = av::makePacket();
};
