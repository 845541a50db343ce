#pragma once

#include <cstdint>

class BoxWriter;
struct RemuxTrack;

// The `stsd` box of a copied track: `avc1` with the FLV's AVC configuration record as `avcC`, or
// `mp4a` with an `esds` that carries the AAC AudioSpecificConfig.
class Mp4SampleEntry {
  public:
    static void write(BoxWriter& out, const RemuxTrack& track, uint32_t trackId);
};
