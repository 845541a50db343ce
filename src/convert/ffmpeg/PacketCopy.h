#pragma once

#include "convert/ffmpeg/StreamPipe.h"

class CopyMuxer;

// A stream the copy holds as it is: every packet is written unchanged, only its times are
// converted to the copy's time base.
class PacketCopy : public StreamPipe {
  public:
    PacketCopy(const AVStream& source, CopyMuxer& muxer);

    void send(AVPacket& packet) override;
    void finish() override {}

  private:
    const AVStream& m_source;
    CopyMuxer& m_muxer;
    AVStream& m_stream;
};
