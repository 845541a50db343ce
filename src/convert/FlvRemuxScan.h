#pragma once

#include <optional>

#include "convert/RemuxPlan.h"
#include "flv/ByteSource.h"

// Reads an FLV's tag headers and plans the MP4 index of a copy that keeps the FLV's payload
// bytes where they are. Only what such a copy reproduces exactly is planned: H.264 and plain AAC
// with one sequence header each before their samples, decode times that only go forward,
// composition offsets that are not negative, every tag whole and well-formed. Anything else
// (other codecs, enhanced FLV, encrypted or empty tags, a file cut off, ...) gives no plan and
// the caller takes the general path.
class FlvRemuxScan {
  public:
    // Never throws for what the bytes hold; IoError from the source passes through.
    static std::optional<RemuxPlan> plan(flvmdi::ByteSource& source);

    // The video and audio tags that lie whole within the first `window` bytes, and where the
    // last of them ends (the file header's end when none does; 0 for a file that is no FLV): a
    // cheap look at how densely a file holds its samples.
    struct TagCounts {
        uint64_t video = 0;
        uint64_t audio = 0;
        uint64_t end = 0;
        uint32_t firstMs = 0;  // the times of the first and the last of those tags
        uint32_t lastMs = 0;
    };
    static TagCounts countTags(flvmdi::ByteSource& source, uint64_t window);
    // The time of the file's last tag, found through the size the file's last four bytes give
    // it; nothing where those do not lead to a tag header that ends there.
    static std::optional<uint32_t> lastTagTime(flvmdi::ByteSource& source);

    static constexpr uint32_t kVideoTimescale = 16000;  // milliseconds times 16
    static constexpr uint32_t kAacFrameSamples = 1024;
};
