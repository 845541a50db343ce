#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// What an MP4 copy of an FLV needs to know to point at the FLV's own payload bytes: for each
// stream its samples (where each payload lies in the FLV, its decode time and composition
// offset) and the codec configuration the MP4's sample description carries.
struct RemuxSample {
    uint64_t offset = 0;  // of the payload in the FLV
    uint32_t size = 0;
    uint64_t decodeTime = 0;  // in the track's timescale, from the track's first sample
    uint32_t compositionOffset = 0;
    bool key = true;
};

struct RemuxTrack {
    enum class Kind { Video, Audio };

    Kind kind = Kind::Video;
    uint32_t timescale = 0;
    // The first sample's decode time on the FLV's clock, in milliseconds.
    uint64_t startMs = 0;
    std::vector<RemuxSample> samples;
    // The AVC decoder configuration record or the AAC AudioSpecificConfig, as the FLV holds it.
    std::vector<uint8_t> configuration;
    uint32_t width = 0;  // video
    uint32_t height = 0;
    uint32_t channels = 0;  // audio
    uint32_t sampleRate = 0;

    // The last sample lasts as long as the one before it (a frame), or 1 when it is alone.
    uint64_t lastSampleDuration() const;
    // Decode time of the end of the last sample.
    uint64_t mediaDuration() const;
    // The earliest composition time of any sample, where presentation starts.
    uint64_t firstComposition() const;
    // Presentation end minus presentation start, in the track's timescale.
    uint64_t presentedDuration() const;
    bool allKey() const;
    bool anyCompositionOffset() const;
};

struct RemuxPlan {
    std::optional<RemuxTrack> video;
    std::optional<RemuxTrack> audio;
    // The FLV's bytes from the first sample payload to the end of the last one: the MP4's `mdat`.
    uint64_t copyStart = 0;
    uint64_t copyEnd = 0;

    std::vector<const RemuxTrack*> tracks() const;
    // Where the track's presentation starts on the FLV's clock, in milliseconds: the copy keeps
    // that clock, so a track that starts later starts after an empty edit of this length.
    static uint64_t presentationDelayMs(const RemuxTrack& track);
};
