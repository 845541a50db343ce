#include "convert/Mp4Index.h"

#include <algorithm>

#include "convert/BoxWriter.h"
#include "convert/Mp4SampleTable.h"
#include "convert/Mp4Track.h"
#include "convert/RemuxPlan.h"

namespace {

constexpr uint32_t kFixedOne = 0x00010000;
constexpr size_t kBoxHeader = 8;
constexpr size_t kLargeBoxHeader = 16;

void writeFtyp(BoxWriter& out) {
    const size_t ftyp = out.begin("ftyp");
    out.fourcc("isom");
    out.u32(0x200);
    out.fourcc("isom");
    out.fourcc("iso2");
    out.fourcc("avc1");
    out.fourcc("mp41");
    out.end(ftyp);
}

void writeMvhd(BoxWriter& out, const RemuxPlan& plan, uint32_t nextTrackId) {
    uint64_t duration = 0;
    for (const RemuxTrack* track : plan.tracks())
        duration = std::max(duration, Mp4Track::movieDuration(plan, *track));
    const bool wide = duration > UINT32_MAX;
    const size_t mvhd = out.beginFull("mvhd", wide ? 1 : 0, 0);
    out.uSized(0, wide);
    out.uSized(0, wide);
    out.u32(Mp4Track::kMovieTimescale);
    out.uSized(duration, wide);
    out.u32(kFixedOne);  // rate
    out.u16(0x0100);     // volume
    out.zeros(10);
    for (const uint32_t value : {kFixedOne, 0u, 0u, 0u, kFixedOne, 0u, 0u, 0u, 0x40000000u})
        out.u32(value);
    out.zeros(24);
    out.u32(nextTrackId);
    out.end(mvhd);
}

void writeFtypAndMoov(BoxWriter& out, const RemuxPlan& plan, const Mp4Placement& placement) {
    writeFtyp(out);
    const size_t moov = out.begin("moov");
    const auto tracks = plan.tracks();
    writeMvhd(out, plan, uint32_t(tracks.size() + 1));
    uint32_t trackId = 1;
    for (const RemuxTrack* track : tracks)
        Mp4Track::write(out, plan, *track, trackId++, placement);
    out.end(moov);
}

// `ftyp` and `moov` for the body at `placement`, in a writer that grows once: `reserve` is the
// most the index and what follows it can take.
BoxWriter indexAt(const RemuxPlan& plan, const Mp4Placement& placement, uint64_t reserve) {
    BoxWriter out;
    out.reserve(reserve);
    writeFtypAndMoov(out, plan, placement);
    return out;
}

size_t ftypAndMoovSize(const RemuxPlan& plan, const Mp4Placement& placement) {
    const uint64_t most =
        Mp4Index::room(plan.video ? plan.video->samples.size() : 0,
                       plan.audio ? plan.audio->samples.size() : 0, placement.wideOffsets);
    return indexAt(plan, placement, most).size();
}

// The first offset from `from` on that lies where `copyStart` lies within its block.
uint64_t alignedLike(uint64_t from, uint64_t copyStart) {
    const uint64_t want = copyStart % Mp4Index::kBlock;
    const uint64_t have = from % Mp4Index::kBlock;
    return from + (want + Mp4Index::kBlock - have) % Mp4Index::kBlock;
}

// The body at the first offset past the index, its `free` box header and the `mdat` header, and
// past bodyAtLeast. The index's size depends only on the width of the chunk offsets, not on
// their values.
Mp4Placement placementBehindIndex(const RemuxPlan& plan, uint64_t bodyAtLeast, size_t mdatHeader) {
    Mp4Placement placement{plan.copyStart, 0, false};
    for (;;) {
        const size_t indexSize = ftypAndMoovSize(plan, placement);
        placement.bodyStart = alignedLike(
            std::max<uint64_t>(indexSize + kBoxHeader + mdatHeader, bodyAtLeast), plan.copyStart);
        if (placement.wideOffsets || placement.fileOffset(plan.copyEnd) <= UINT32_MAX)
            return placement;
        placement.wideOffsets = true;
    }
}

}  // namespace

uint64_t Mp4Index::indexSize(const RemuxPlan& plan) {
    return ftypAndMoovSize(plan, Mp4Placement{plan.copyStart, 0, false});
}

uint64_t Mp4Index::room(uint64_t videoSamples, uint64_t audioSamples, bool wideOffsets) {
    constexpr uint64_t kFixed = 16 << 10;  // ftyp, the track headers, the codec configurations
    const uint64_t offset = wideOffsets ? 8 : 4;
    // Video: stsz, stco, stts, ctts, stss. Audio: stsz, stco, and durations in few runs.
    return kFixed + videoSamples * (4 + offset + 8 + 8 + 4) + audioSamples * (4 + offset + 2);
}

// Where the index fits the room the caller left, it is built once, for the body at that room;
// otherwise the body goes right behind an index measured first.
std::vector<uint8_t> Mp4Index::head(const RemuxPlan& plan, uint64_t bodyAtLeast) {
    const uint64_t body = plan.copyEnd - plan.copyStart;
    const bool largeMdat = body + kBoxHeader > UINT32_MAX;
    const size_t mdatHeader = largeMdat ? kLargeBoxHeader : kBoxHeader;
    Mp4Placement placement{plan.copyStart, alignedLike(bodyAtLeast, plan.copyStart), false};
    placement.wideOffsets = placement.fileOffset(plan.copyEnd) > UINT32_MAX;
    BoxWriter out;
    if (bodyAtLeast > 0)
        out = indexAt(plan, placement, placement.bodyStart);
    if (bodyAtLeast == 0 || out.size() + kBoxHeader + mdatHeader > bodyAtLeast) {
        placement = placementBehindIndex(plan, bodyAtLeast, mdatHeader);
        out = indexAt(plan, placement, placement.bodyStart);
    }
    const size_t free = out.begin("free");
    out.zeros(placement.bodyStart - mdatHeader - out.size());
    out.end(free);
    if (largeMdat) {
        out.u32(1);
        out.fourcc("mdat");
        out.u64(kLargeBoxHeader + body);
    } else {
        out.u32(uint32_t(kBoxHeader + body));
        out.fourcc("mdat");
    }
    return out.take();
}
