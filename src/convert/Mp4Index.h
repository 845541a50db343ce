#pragma once

#include <cstdint>
#include <vector>

struct RemuxPlan;

// Everything of an MP4 copy that comes before the FLV bytes it copies: `ftyp`, the whole `moov`
// (so the index comes first and a browser can play while it downloads), a `free` box, and the
// `mdat` header whose body is the FLV's bytes from `copyStart` to `copyEnd` unchanged. The
// samples point at their payloads inside that body; the FLV's tag headers between them stay as
// bytes no sample uses. The `free` box keeps the body at the same offset within a 4 KiB block as
// in the FLV, so a file system that shares blocks between files could clone them.
class Mp4Index {
  public:
    static constexpr uint64_t kBlock = 4096;

    // The body starts at `bodyAtLeast` or, where the index needs more room or the block offset
    // differs, at the next offset that suits both; the head's size is where the body starts.
    static std::vector<uint8_t> head(const RemuxPlan& plan, uint64_t bodyAtLeast = 0);
    // The bytes of `ftyp` and `moov` alone, with 32-bit chunk offsets.
    static uint64_t indexSize(const RemuxPlan& plan);
    // Room enough for the head of a copy with about these numbers of samples, so the body can be
    // copied before the index is known: the sample tables' widest entries per sample (a size, a
    // chunk offset, a run of durations and of composition offsets each, a key-frame number) and
    // the fixed boxes.
    static uint64_t room(uint64_t videoSamples, uint64_t audioSamples, bool wideOffsets);
};
