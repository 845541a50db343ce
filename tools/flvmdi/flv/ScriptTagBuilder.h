// The bytes flvmdi writes itself: the file header, the onMetaData tag and the onLastSecond tag.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "Metadata.h"

namespace flvmdi {

class ScriptTagBuilder {
  public:
    // The padding is an array of blank strings at the end of onMetaData; its size is what lets a
    // later run write a grown index into the same tag without moving a byte of the video. It can
    // take any number of bytes but 1 and 2.
    static constexpr size_t kMaxPadding = 0xFFFF;
    static bool paddingFits(size_t extra) {
        return extra == 0 || (extra >= 3 && extra <= kMaxPadding);
    }
    static constexpr const char* kPaddingKey = "padding";

    // The 9-byte header and the PreviousTagSize0 that follows it.
    static std::vector<uint8_t> fileHeader(uint8_t flags);
    // paddingLength: bytes beyond the smallest payload; see paddingFits.
    static std::vector<uint8_t> onMetaDataPayload(const Metadata& metadata, size_t paddingLength);
    static std::vector<uint8_t> onLastSecondPayload();
    // Tag header, payload and trailing PreviousTagSize.
    static std::vector<uint8_t> scriptTag(std::span<const uint8_t> payload, uint32_t timestamp);
};

}  // namespace flvmdi
