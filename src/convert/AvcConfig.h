#pragma once

#include <cstdint>
#include <span>

// Whether an AVC decoder configuration record describes 8-bit 4:2:0 pictures, which browsers
// play as they are; other H.264 is encoded again by the FFmpeg path.
class AvcConfig {
  public:
    static bool isPlain420(std::span<const uint8_t> record);
};
