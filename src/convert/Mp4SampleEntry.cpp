#include "convert/Mp4SampleEntry.h"

#include <algorithm>

#include "convert/BoxWriter.h"
#include "convert/RemuxPlan.h"

namespace {

constexpr uint32_t kDpi72 = 0x00480000;
constexpr uint8_t kEsDescriptor = 3;
constexpr uint8_t kDecoderConfig = 4;
constexpr uint8_t kDecoderSpecificInfo = 5;
constexpr uint8_t kSlConfig = 6;
constexpr uint8_t kObjectMpeg4Audio = 0x40;
constexpr uint8_t kStreamAudio = 0x15;  // audio stream type, upstream flag clear, reserved 1

void sampleEntryStart(BoxWriter& out) {
    out.zeros(6);
    out.u16(1);  // data reference index
}

void writeAvc1(BoxWriter& out, const RemuxTrack& track) {
    const size_t entry = out.begin("avc1");
    sampleEntryStart(out);
    out.zeros(16);  // pre-defined and reserved
    out.u16(track.width);
    out.u16(track.height);
    out.u32(kDpi72);
    out.u32(kDpi72);
    out.u32(0);
    out.u16(1);     // frames per sample
    out.zeros(32);  // compressor name
    out.u16(0x18);  // depth: colour, no alpha
    out.u16(0xFFFF);
    const size_t avcC = out.begin("avcC");
    out.bytes(track.configuration);
    out.end(avcC);
    out.end(entry);
}

struct Bitrates {
    uint32_t average = 0;
    uint32_t peak = 0;  // over any whole second of the track
    uint32_t largestSample = 0;
};

Bitrates bitrates(const RemuxTrack& track) {
    Bitrates rates;
    uint64_t total = 0;
    uint64_t second = 0;
    uint64_t inSecond = 0;
    for (const RemuxSample& sample : track.samples) {
        total += sample.size;
        rates.largestSample = std::max(rates.largestSample, sample.size);
        if (sample.decodeTime / track.timescale != second) {
            second = sample.decodeTime / track.timescale;
            inSecond = 0;
        }
        inSecond += sample.size;
        rates.peak =
            uint32_t(std::min<uint64_t>(std::max<uint64_t>(rates.peak, inSecond * 8), UINT32_MAX));
    }
    const uint64_t duration = std::max<uint64_t>(track.mediaDuration(), 1);
    rates.average =
        uint32_t(std::min<uint64_t>(total * 8 * track.timescale / duration, UINT32_MAX));
    return rates;
}

void writeEsds(BoxWriter& out, const RemuxTrack& track, uint32_t trackId) {
    const Bitrates rates = bitrates(track);
    const size_t esds = out.beginFull("esds", 0, 0);
    const size_t es = out.beginDescriptor(kEsDescriptor);
    out.u16(trackId);
    out.u8(0);  // no dependency, URL or OCR stream
    const size_t decoder = out.beginDescriptor(kDecoderConfig);
    out.u8(kObjectMpeg4Audio);
    out.u8(kStreamAudio);
    out.u24(std::min<uint32_t>(rates.largestSample, 0xFFFFFF));
    out.u32(rates.peak);
    out.u32(rates.average);
    const size_t specific = out.beginDescriptor(kDecoderSpecificInfo);
    out.bytes(track.configuration);
    out.endDescriptor(specific);
    out.endDescriptor(decoder);
    const size_t sl = out.beginDescriptor(kSlConfig);
    out.u8(2);  // predefined: MP4 file
    out.endDescriptor(sl);
    out.endDescriptor(es);
    out.end(esds);
}

void writeMp4a(BoxWriter& out, const RemuxTrack& track, uint32_t trackId) {
    const size_t entry = out.begin("mp4a");
    sampleEntryStart(out);
    out.zeros(8);  // reserved
    out.u16(track.channels);
    out.u16(16);  // sample size
    out.u32(0);   // pre-defined, reserved
    out.u32(track.sampleRate << 16);
    writeEsds(out, track, trackId);
    out.end(entry);
}

}  // namespace

void Mp4SampleEntry::write(BoxWriter& out, const RemuxTrack& track, uint32_t trackId) {
    const size_t stsd = out.beginFull("stsd", 0, 0);
    out.u32(1);
    if (track.kind == RemuxTrack::Kind::Video)
        writeAvc1(out, track);
    else
        writeMp4a(out, track, trackId);
    out.end(stsd);
}
