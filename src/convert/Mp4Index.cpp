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

std::vector<uint8_t> ftypAndMoov(const RemuxPlan& plan, const Mp4Placement& placement) {
    BoxWriter out;
    writeFtyp(out);
    const size_t moov = out.begin("moov");
    const auto tracks = plan.tracks();
    writeMvhd(out, plan, uint32_t(tracks.size() + 1));
    uint32_t trackId = 1;
    for (const RemuxTrack* track : tracks)
        Mp4Track::write(out, plan, *track, trackId++, placement);
    out.end(moov);
    return out.take();
}

// The first offset from `from` on that lies where `copyStart` lies within its block.
uint64_t alignedLike(uint64_t from, uint64_t copyStart) {
    const uint64_t want = copyStart % Mp4Index::kBlock;
    const uint64_t have = from % Mp4Index::kBlock;
    return from + (want + Mp4Index::kBlock - have) % Mp4Index::kBlock;
}

}  // namespace

uint64_t Mp4Index::indexSize(const RemuxPlan& plan) {
    return ftypAndMoov(plan, Mp4Placement{plan.copyStart, 0, false}).size();
}

uint64_t Mp4Index::room(uint64_t videoSamples, uint64_t audioSamples, bool wideOffsets) {
    constexpr uint64_t kFixed = 16 << 10;  // ftyp, the track headers, the codec configurations
    const uint64_t offset = wideOffsets ? 8 : 4;
    // Video: stsz, stco, stts, ctts, stss. Audio: stsz, stco, and durations in few runs.
    return kFixed + videoSamples * (4 + offset + 8 + 8 + 4) + audioSamples * (4 + offset + 2);
}

std::vector<uint8_t> Mp4Index::head(const RemuxPlan& plan, uint64_t bodyAtLeast) {
    const uint64_t body = plan.copyEnd - plan.copyStart;
    const bool largeMdat = body + kBoxHeader > UINT32_MAX;
    const size_t mdatHeader = largeMdat ? kLargeBoxHeader : kBoxHeader;
    Mp4Placement placement{plan.copyStart, 0, false};
    // The index's size depends only on the width of the chunk offsets, not on their values.
    for (;;) {
        const size_t indexSize = ftypAndMoov(plan, placement).size();
        placement.bodyStart = alignedLike(
            std::max<uint64_t>(indexSize + kBoxHeader + mdatHeader, bodyAtLeast), plan.copyStart);
        if (placement.wideOffsets || placement.fileOffset(plan.copyEnd) <= UINT32_MAX)
            break;
        placement.wideOffsets = true;
    }
    BoxWriter out;
    out.bytes(ftypAndMoov(plan, placement));
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
