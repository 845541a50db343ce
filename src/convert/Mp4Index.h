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

    static std::vector<uint8_t> head(const RemuxPlan& plan);
};
