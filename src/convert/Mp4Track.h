#pragma once

#include <cstdint>

class BoxWriter;
struct Mp4Placement;
struct RemuxPlan;
struct RemuxTrack;

// The `trak` box of a copied track: header, edit list, media header, handler and sample table.
class Mp4Track {
  public:
    static constexpr uint32_t kMovieTimescale = 1000;

    static void write(BoxWriter& out, const RemuxPlan& plan, const RemuxTrack& track,
                      uint32_t trackId, const Mp4Placement& placement);
    // How long the track lasts on the movie's clock, its delay at the start included.
    static uint64_t movieDuration(const RemuxPlan& plan, const RemuxTrack& track);
};
