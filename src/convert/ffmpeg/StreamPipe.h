#pragma once

#include "convert/ffmpeg/AvPointers.h"

// The way one stream of the source goes into the copy: copied as it is, or decoded and encoded.
class StreamPipe {
  public:
    virtual ~StreamPipe() = default;

    // A packet of the source stream; the pipe may take its data.
    virtual void send(AVPacket& packet) = 0;
    // The source has ended: everything still held goes out.
    virtual void finish() = 0;
};
