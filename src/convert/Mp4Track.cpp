#include "convert/Mp4Track.h"

#include "convert/BoxWriter.h"
#include "convert/Mp4SampleTable.h"
#include "convert/RemuxPlan.h"

namespace {

constexpr uint32_t kTrackEnabledInMovie = 3;
constexpr uint32_t kLanguageUndetermined = 0x55C4;  // "und", five bits a letter
constexpr uint32_t kFixedOne = 0x00010000;

bool needsWide(uint64_t value) {
    return value > UINT32_MAX;
}

uint64_t toMovie(uint64_t value, uint32_t timescale) {
    return (value * Mp4Track::kMovieTimescale + timescale - 1) / timescale;
}

void writeMatrix(BoxWriter& out) {
    for (const uint32_t value : {kFixedOne, 0u, 0u, 0u, kFixedOne, 0u, 0u, 0u, 0x40000000u})
        out.u32(value);
}

bool isVideo(const RemuxTrack& track) {
    return track.kind == RemuxTrack::Kind::Video;
}

void writeTkhd(BoxWriter& out, const RemuxPlan& plan, const RemuxTrack& track, uint32_t trackId) {
    const uint64_t duration = Mp4Track::movieDuration(plan, track);
    const bool wide = needsWide(duration);
    const size_t tkhd = out.beginFull("tkhd", wide ? 1 : 0, kTrackEnabledInMovie);
    out.uSized(0, wide);  // created
    out.uSized(0, wide);  // modified
    out.u32(trackId);
    out.u32(0);
    out.uSized(duration, wide);
    out.zeros(8);
    out.u16(0);  // layer
    out.u16(0);  // alternate group
    out.u16(isVideo(track) ? 0 : 0x0100);
    out.u16(0);
    writeMatrix(out);
    out.u32(track.width << 16);
    out.u32(track.height << 16);
    out.end(tkhd);
}

// The samples' clock starts at the track's first decode time; the edit list shows the earliest
// composition time at the moment the track starts on the movie's clock, after an empty edit when
// another track starts earlier.
void writeEdits(BoxWriter& out, const RemuxPlan& plan, const RemuxTrack& track) {
    const uint64_t delay = plan.presentationDelayMs(track);
    const uint64_t mediaStart = track.firstComposition();
    if (delay == 0 && mediaStart == 0)
        return;
    const uint64_t shown = toMovie(track.presentedDuration(), track.timescale);
    const bool wide = needsWide(delay) || needsWide(shown) || needsWide(mediaStart);
    const size_t edts = out.begin("edts");
    const size_t elst = out.beginFull("elst", wide ? 1 : 0, 0);
    out.u32(delay > 0 ? 2 : 1);
    if (delay > 0) {
        out.uSized(delay, wide);
        out.uSized(wide ? UINT64_MAX : UINT32_MAX, wide);  // empty: no media
        out.u32(kFixedOne);
    }
    out.uSized(shown, wide);
    out.uSized(mediaStart, wide);
    out.u32(kFixedOne);
    out.end(elst);
    out.end(edts);
}

void writeMdhd(BoxWriter& out, const RemuxTrack& track) {
    const uint64_t duration = track.mediaDuration();
    const bool wide = needsWide(duration);
    const size_t mdhd = out.beginFull("mdhd", wide ? 1 : 0, 0);
    out.uSized(0, wide);
    out.uSized(0, wide);
    out.u32(track.timescale);
    out.uSized(duration, wide);
    out.u16(kLanguageUndetermined);
    out.u16(0);
    out.end(mdhd);
}

void writeHdlr(BoxWriter& out, const RemuxTrack& track) {
    const size_t hdlr = out.beginFull("hdlr", 0, 0);
    out.u32(0);
    out.fourcc(isVideo(track) ? "vide" : "soun");
    out.zeros(12);
    const char* name = isVideo(track) ? "VideoHandler" : "SoundHandler";
    for (const char* c = name; *c; ++c)
        out.u8(uint8_t(*c));
    out.u8(0);
    out.end(hdlr);
}

void writeMediaHeader(BoxWriter& out, const RemuxTrack& track) {
    if (isVideo(track)) {
        const size_t vmhd = out.beginFull("vmhd", 0, 1);
        out.zeros(8);  // copy mode, no colour
        out.end(vmhd);
    } else {
        const size_t smhd = out.beginFull("smhd", 0, 0);
        out.zeros(4);  // centred
        out.end(smhd);
    }
    const size_t dinf = out.begin("dinf");
    const size_t dref = out.beginFull("dref", 0, 0);
    out.u32(1);
    out.end(out.beginFull("url ", 0, 1));  // the media is in this file
    out.end(dref);
    out.end(dinf);
}

}  // namespace

uint64_t Mp4Track::movieDuration(const RemuxPlan& plan, const RemuxTrack& track) {
    return plan.presentationDelayMs(track) + toMovie(track.presentedDuration(), track.timescale);
}

void Mp4Track::write(BoxWriter& out, const RemuxPlan& plan, const RemuxTrack& track,
                     uint32_t trackId, const Mp4Placement& placement) {
    const size_t trak = out.begin("trak");
    writeTkhd(out, plan, track, trackId);
    writeEdits(out, plan, track);
    const size_t mdia = out.begin("mdia");
    writeMdhd(out, track);
    writeHdlr(out, track);
    const size_t minf = out.begin("minf");
    writeMediaHeader(out, track);
    Mp4SampleTable::write(out, track, trackId, placement);
    out.end(minf);
    out.end(mdia);
    out.end(trak);
}
