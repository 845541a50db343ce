// Byte-level facts about FLV files shared by the reader, the computation and the writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace flvmdi {

// A file that cannot be injected because of what it contains (not FLV, truncated, corrupt).
class FlvError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The operating system refused something (open, read, write, rename, disk full).
class IoError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr uint8_t kTagAudio = 8;
inline constexpr uint8_t kTagVideo = 9;
inline constexpr uint8_t kTagScript = 18;

inline constexpr size_t kFileHeaderSize = 9;
inline constexpr size_t kTagHeaderSize = 11;
inline constexpr size_t kTagTrailerSize = 4;  // the PreviousTagSize that follows every tag
inline constexpr uint32_t kMaxTagDataSize = 0xFFFFFF;

inline constexpr uint8_t kVideoCodecH263 = 2;
inline constexpr uint8_t kVideoCodecScreen = 3;
inline constexpr uint8_t kVideoCodecVp6 = 4;
inline constexpr uint8_t kVideoCodecVp6Alpha = 5;
inline constexpr uint8_t kVideoCodecScreen2 = 6;
inline constexpr uint8_t kVideoCodecAvc = 7;

inline constexpr uint8_t kFrameKey = 1;
inline constexpr uint8_t kFrameCommand = 5;

inline constexpr uint8_t kAudioFormatAac = 10;
inline constexpr uint8_t kAvcSequenceHeader = 0;
inline constexpr uint8_t kAvcNalu = 1;

inline uint32_t readBe16(const uint8_t* p) {
    return uint32_t(p[0]) << 8 | p[1];
}
inline uint32_t readBe24(const uint8_t* p) {
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}
inline uint32_t readBe32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | readBe24(p + 1);
}

inline void writeBe24(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 16);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v);
}
inline void writeBe32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    writeBe24(p + 1, v);
}

// One tag as the reader met it. `head` holds the first bytes of the payload (all of it for small
// tags) and stays valid only until the reader is asked for the next tag.
struct FlvTag {
    uint64_t offset = 0;  // of the tag header in the file
    uint8_t type = 0;
    bool filtered = false;  // encrypted payload
    uint32_t dataSize = 0;
    uint32_t timestamp = 0;  // milliseconds, extended byte included
    uint32_t streamId = 0;
    uint32_t previousTagSize = 0;  // the value stored after the payload
    std::span<const uint8_t> head;

    uint64_t totalSize() const { return kTagHeaderSize + uint64_t(dataSize) + kTagTrailerSize; }
    uint64_t end() const { return offset + totalSize(); }
    bool trailerIsRight() const { return previousTagSize == kTagHeaderSize + dataSize; }
};

struct FlvHeader {
    uint8_t version = 0;
    uint8_t flags = 0;
    uint32_t dataOffset = 0;
    uint64_t firstTagOffset() const { return uint64_t(dataOffset) + kTagTrailerSize; }
};

}  // namespace flvmdi
