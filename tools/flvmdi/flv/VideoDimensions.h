// Picture width and height from the first bytes of a video tag, for each codec FLV carries.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace flvmdi {

struct Dimensions {
    uint32_t width = 0;
    uint32_t height = 0;
    bool operator==(const Dimensions&) const = default;
};

class VideoDimensions {
  public:
    // The whole VIDEODATA of a tag: frame type and codec byte first.
    static std::optional<Dimensions> fromVideoTag(std::span<const uint8_t> payload);

    // The codec payloads, each starting right after the frame type and codec byte.
    static std::optional<Dimensions> fromH263(std::span<const uint8_t> data);
    static std::optional<Dimensions> fromScreenVideo(std::span<const uint8_t> data);
    static std::optional<Dimensions> fromVp6(std::span<const uint8_t> data, bool alpha);
    // AVCDecoderConfigurationRecord: the first sequence parameter set decides.
    static std::optional<Dimensions> fromAvcConfiguration(std::span<const uint8_t> record);
    // One SPS NAL unit, header byte included, emulation prevention bytes still in place.
    static std::optional<Dimensions> fromAvcSps(std::span<const uint8_t> nal);

    static std::vector<uint8_t> withoutEmulationPrevention(std::span<const uint8_t> nal);
};

}  // namespace flvmdi
