#pragma once

#include <QString>
#include <optional>

#include "convert/ffmpeg/Decoder.h"
#include "convert/ffmpeg/StreamPipe.h"

class CopyMuxer;

// A stream the copy holds as it is: every packet is written unchanged, only its times are
// converted to the copy's time base. Sound is decoded along the way, as cheap as it is: a
// configuration that opens a decoder can still contradict the frames (another rate, SBR that is
// not there), and a copy of those would be silent in every player. A packet no decoder takes is
// left out, as the transcoders leave it out; a stream that mostly fails is refused.
class PacketCopy : public StreamPipe {
  public:
    PacketCopy(const AVStream& source, CopyMuxer& muxer, const QString& sourcePath);

    void send(AVPacket& packet) override;
    void finish() override;

  private:
    const AVStream& m_source;
    CopyMuxer& m_muxer;
    AVStream& m_stream;
    QString m_sourcePath;
    std::optional<Decoder> m_check;
};
