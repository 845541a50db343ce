#include "convert/Mp4SampleTable.h"

#include <algorithm>

#include "convert/BoxWriter.h"
#include "convert/Mp4SampleEntry.h"
#include "convert/RemuxPlan.h"

namespace {

// Writes runs of equal values as (count, value) pairs, the shape of `stts` and `ctts`.
template <typename ValueOf>
void writeRuns(BoxWriter& out, const RemuxTrack& track, ValueOf valueOf) {
    const size_t countAt = out.size();
    out.u32(0);
    uint32_t runs = 0;
    const size_t n = track.samples.size();
    for (size_t i = 0; i < n;) {
        const uint32_t value = valueOf(i);
        size_t j = i + 1;
        while (j < n && valueOf(j) == value)
            ++j;
        out.u32(uint32_t(j - i));
        out.u32(value);
        ++runs;
        i = j;
    }
    out.patchU32(countAt, runs);
}

void writeTimes(BoxWriter& out, const RemuxTrack& track) {
    const auto& s = track.samples;
    const size_t stts = out.beginFull("stts", 0, 0);
    writeRuns(out, track, [&](size_t i) {
        return uint32_t(i + 1 < s.size() ? s[i + 1].decodeTime - s[i].decodeTime
                                         : track.lastSampleDuration());
    });
    out.end(stts);
    if (!track.anyCompositionOffset())
        return;
    const size_t ctts = out.beginFull("ctts", 0, 0);
    writeRuns(out, track, [&](size_t i) { return s[i].compositionOffset; });
    out.end(ctts);
}

void writeKeys(BoxWriter& out, const RemuxTrack& track) {
    if (track.kind != RemuxTrack::Kind::Video || track.allKey())
        return;
    const size_t stss = out.beginFull("stss", 0, 0);
    const size_t countAt = out.size();
    out.u32(0);
    uint32_t keys = 0;
    for (size_t i = 0; i < track.samples.size(); ++i) {
        if (track.samples[i].key) {
            out.u32(uint32_t(i + 1));
            ++keys;
        }
    }
    out.patchU32(countAt, keys);
    out.end(stss);
}

void writeSizes(BoxWriter& out, const RemuxTrack& track) {
    const auto& s = track.samples;
    const bool same = std::all_of(s.begin(), s.end(),
                                  [&](const RemuxSample& one) { return one.size == s[0].size; });
    const size_t stsz = out.beginFull("stsz", 0, 0);
    out.u32(same ? s[0].size : 0);
    out.u32(uint32_t(s.size()));
    if (!same) {
        for (const RemuxSample& sample : s)
            out.u32(sample.size);
    }
    out.end(stsz);
}

void writeChunks(BoxWriter& out, const RemuxTrack& track, const Mp4Placement& placement) {
    const size_t stsc = out.beginFull("stsc", 0, 0);
    out.u32(1);
    out.u32(1);  // from the first chunk on:
    out.u32(1);  // one sample per chunk,
    out.u32(1);  // described by the first sample entry
    out.end(stsc);
    const size_t offsets =
        placement.wideOffsets ? out.beginFull("co64", 0, 0) : out.beginFull("stco", 0, 0);
    out.u32(uint32_t(track.samples.size()));
    for (const RemuxSample& sample : track.samples)
        out.uSized(placement.fileOffset(sample.offset), placement.wideOffsets);
    out.end(offsets);
}

}  // namespace

void Mp4SampleTable::write(BoxWriter& out, const RemuxTrack& track, uint32_t trackId,
                           const Mp4Placement& placement) {
    const size_t stbl = out.begin("stbl");
    Mp4SampleEntry::write(out, track, trackId);
    writeTimes(out, track);
    writeKeys(out, track);
    writeSizes(out, track);
    writeChunks(out, track, placement);
    out.end(stbl);
}
