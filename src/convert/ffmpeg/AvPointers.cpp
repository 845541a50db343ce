#include "convert/ffmpeg/AvPointers.h"

#include "convert/ConversionError.h"

namespace av {

Packet makePacket() {
    Packet packet(av_packet_alloc());
    if (!packet)
        throw ConversionError(QStringLiteral("OUT OF MEMORY"));
    return packet;
}

Frame makeFrame() {
    Frame frame(av_frame_alloc());
    if (!frame)
        throw ConversionError(QStringLiteral("OUT OF MEMORY"));
    return frame;
}

}  // namespace av
