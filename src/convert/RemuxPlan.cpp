#include "convert/RemuxPlan.h"

#include <algorithm>

uint64_t RemuxTrack::lastSampleDuration() const {
    if (samples.size() < 2)
        return 1;
    return samples.back().decodeTime - samples[samples.size() - 2].decodeTime;
}

uint64_t RemuxTrack::mediaDuration() const {
    return samples.empty() ? 0 : samples.back().decodeTime + lastSampleDuration();
}

uint64_t RemuxTrack::firstComposition() const {
    uint64_t first = UINT64_MAX;
    for (const RemuxSample& sample : samples)
        first = std::min(first, sample.decodeTime + sample.compositionOffset);
    return samples.empty() ? 0 : first;
}

uint64_t RemuxTrack::presentedDuration() const {
    uint64_t end = 0;
    for (const RemuxSample& sample : samples)
        end = std::max(end, sample.decodeTime + sample.compositionOffset);
    return samples.empty() ? 0 : end + lastSampleDuration() - firstComposition();
}

bool RemuxTrack::allKey() const {
    return std::all_of(samples.begin(), samples.end(), [](const RemuxSample& s) { return s.key; });
}

bool RemuxTrack::anyCompositionOffset() const {
    return std::any_of(samples.begin(), samples.end(),
                       [](const RemuxSample& s) { return s.compositionOffset != 0; });
}

std::vector<const RemuxTrack*> RemuxPlan::tracks() const {
    std::vector<const RemuxTrack*> all;
    if (video)
        all.push_back(&*video);
    if (audio)
        all.push_back(&*audio);
    return all;
}

uint64_t RemuxPlan::presentationDelayMs(const RemuxTrack& track) {
    return track.startMs + track.firstComposition() * 1000 / track.timescale;
}
