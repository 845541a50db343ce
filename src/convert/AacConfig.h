#pragma once

#include <cstdint>
#include <optional>
#include <span>

// The AudioSpecificConfig of plain AAC (Main, LC, SSR, LTP) with 1024-sample frames and a
// channel configuration: what an MP4 copy can describe without decoding. HE-AAC, 960-sample
// frames, explicit rates and program config elements are left to the FFmpeg path.
struct AacConfig {
    uint32_t sampleRate = 0;
    uint32_t channels = 0;

    static std::optional<AacConfig> parse(std::span<const uint8_t> config);
};
