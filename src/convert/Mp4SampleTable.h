#pragma once

#include <cstdint>

class BoxWriter;
struct RemuxTrack;

// Where the copied bytes sit in the MP4: the file offset of the first copied FLV byte, and
// whether chunk offsets need 64 bits (`co64`) rather than 32 (`stco`).
struct Mp4Placement {
    uint64_t copyStart = 0;  // in the FLV
    uint64_t bodyStart = 0;  // in the MP4
    bool wideOffsets = false;

    uint64_t fileOffset(uint64_t flvOffset) const { return bodyStart + (flvOffset - copyStart); }
};

// The `stbl` box of a copied track. Every sample is a chunk of its own, since FLV tag headers
// lie between any two payloads.
class Mp4SampleTable {
  public:
    static void write(BoxWriter& out, const RemuxTrack& track, uint32_t trackId,
                      const Mp4Placement& placement);
};
