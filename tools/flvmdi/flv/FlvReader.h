// Walks the tags of an FLV file front to back without holding more than a small window of it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "ByteSource.h"
#include "FlvFormat.h"

namespace flvmdi {

class FlvReader {
  public:
    // Enough of a payload for every codec header and script name we look at.
    static constexpr size_t kHeadLimit = 64 * 1024 + 64;
    // Of an audio or video payload only its first bytes are looked at (formats, picture sizes),
    // except for the AVC configuration, which holds the picture size further in.
    static constexpr size_t kCodecHeadLimit = 64;

    explicit FlvReader(ByteSource& source);

    // Checks the signature and the header; throws FlvError with the reason when it is no FLV.
    const FlvHeader& readHeader();
    // The next tag, or nothing at the clean end of the file. Throws FlvError when a tag is cut
    // off or cannot be a tag.
    std::optional<FlvTag> next();
    // Any bytes of the file, e.g. a whole payload; valid until the next call on this reader.
    std::span<const uint8_t> bytesAt(uint64_t offset, size_t n);

    uint64_t fileSize() const { return size_; }

  private:
    size_t headSize(const FlvTag& tag);
    std::span<const uint8_t> window(uint64_t offset, size_t n) { return source_.view(offset, n); }

    ByteSource& source_;
    uint64_t size_;
    FlvHeader header_;
    uint64_t position_ = 0;
    std::vector<uint8_t> head_;
};

}  // namespace flvmdi
