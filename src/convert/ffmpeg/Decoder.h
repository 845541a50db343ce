#pragma once

#include <QString>
#include <functional>

#include "convert/ffmpeg/AvPointers.h"

// Decodes one stream of the source. A damaged packet is skipped, as a player would, rather than
// ending the copy; how many frames came out tells whether anything could be read at all.
class Decoder {
  public:
    // Throws ConversionError naming `sourcePath` when there is no decoder for the stream.
    Decoder(const AVStream& stream, const QString& sourcePath);

    const AVCodecContext& context() const { return *m_context; }
    // Decodes `packet` (null: the end of the stream) and hands every frame to `take`, which may
    // change the frame.
    void decode(const AVPacket* packet, const std::function<void(AVFrame&)>& take);
    qint64 framesDecoded() const { return m_frames; }

  private:
    av::Codec m_context;
    av::Frame m_frame = av::makeFrame();
    qint64 m_frames = 0;
};
