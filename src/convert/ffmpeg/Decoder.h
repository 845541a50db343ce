#pragma once

#include <QString>
#include <functional>

#include "convert/ffmpeg/AvPointers.h"

// Decodes one stream of the source. A damaged packet is skipped, as a player would, rather than
// ending the copy; how many frames came out tells whether anything could be read at all.
class Decoder {
  public:
    // Throws ConversionError naming `sourcePath` when there is no decoder for the stream or it
    // refuses the stream's configuration.
    Decoder(const AVStream& stream, const QString& sourcePath);

    // Whether FFmpeg's decoder takes the stream's configuration at all.
    static bool opens(const AVStream& stream);

    const AVCodecContext& context() const { return *m_context; }
    // Decodes `packet` (null: the end of the stream) and hands every frame to `take`, which may
    // change the frame. False when the decoder rejected the packet or a frame of it.
    bool decode(const AVPacket* packet, const std::function<void(AVFrame&)>& take);
    qint64 framesDecoded() const { return m_frames; }
    // Nothing decoded, or more than half the packets rejected: not a few damaged packets but a
    // configuration that does not fit the stream, whose copy would hold little or no sound.
    bool mostlyUndecodable() const { return m_frames == 0 || 2 * m_rejected > m_packets; }
    // What the message of such a stream says after the file's name.
    static QString mostlyUndecodableReason() {
        return QStringLiteral("most of its frames cannot be decoded");
    }

  private:
    av::Codec m_context;
    av::Frame m_frame = av::makeFrame();
    qint64 m_frames = 0;
    qint64 m_packets = 0;
    qint64 m_rejected = 0;
};
