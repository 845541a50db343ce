#include "convert/IndexRoom.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "convert/FlvRemuxScan.h"
#include "convert/Mp4Index.h"

namespace {

constexpr double kMargin = 1.25;
// Fewer samples than this in the first bytes say too little about the rest.
constexpr size_t kEnoughSamples = 16;
// A shorter stretch of time says too little about the rate of samples.
constexpr double kEnoughSpanMs = 200;
constexpr double kMostBeyondBytes = 4;
// The `free` box's header and the widest `mdat` header between the index and the body.
constexpr double kBoxHeaders = 8 + 16;

size_t samplesOf(const RemuxPlan& plan) {
    size_t n = 0;
    for (const RemuxTrack* track : plan.tracks())
        n += track->samples.size();
    return n;
}

// The same plan with each track's first half of its samples only.
RemuxPlan firstHalf(RemuxPlan plan) {
    for (std::optional<RemuxTrack>* track : {&plan.video, &plan.audio})
        if (*track)
            (*track)->samples.resize(std::max<size_t>(1, ((*track)->samples.size() + 1) / 2));
    return plan;
}

// The index of the first samples and what each further one adds to it; nothing where the first
// bytes do not plan (they may still, with the rest: a sequence header late, say).
std::optional<std::pair<double, double>> measured(flvmdi::ByteSource& start, uint64_t end) {
    const auto bytes = start.view(0, size_t(end));
    flvmdi::MemorySource prefix(bytes);
    const std::optional<RemuxPlan> plan = FlvRemuxScan::plan(prefix);
    if (!plan || samplesOf(*plan) < kEnoughSamples)
        return std::nullopt;
    const RemuxPlan half = firstHalf(*plan);
    // The index alone: the head's padding to a block edge differs from one plan to the next.
    const double whole = double(Mp4Index::indexSize(*plan));
    const double perSample =
        (whole - double(Mp4Index::indexSize(half))) / double(samplesOf(*plan) - samplesOf(half));
    return std::pair{whole, std::max(perSample, 0.0)};
}

// How many times the samples of the first bytes the whole file holds: by time where the file's
// last tag tells how long it lasts (a frame rate stays steady where the bytes per frame do not: a
// large first key frame), else by bytes. A quarter more either way.
// A time far beyond what the bytes suggest (a clock that jumps, a damaged last tag) is not
// believed: the room would become a hole of gigabytes in front of the body.
double scale(flvmdi::ByteSource& file, const FlvRemuxScan::TagCounts& counts) {
    const double byBytes = double(file.size()) / double(counts.end);
    const std::optional<uint32_t> lastMs = FlvRemuxScan::lastTagTime(file);
    const double span = double(counts.lastMs) - double(counts.firstMs);
    if (lastMs && *lastMs >= counts.lastMs && span >= kEnoughSpanMs) {
        const double byTime = (double(*lastMs) - double(counts.firstMs)) / span;
        return std::clamp(byTime, 1.0, byBytes * kMostBeyondBytes) * kMargin;
    }
    return byBytes * kMargin;
}

}  // namespace

std::optional<uint64_t> IndexRoom::guess(flvmdi::ByteSource& file) {
    const FlvRemuxScan::TagCounts counts = FlvRemuxScan::countTags(file, kLookAhead);
    if (counts.end == 0)
        return std::nullopt;
    const double times = scale(file, counts);
    const bool wide = file.size() + (file.size() >> 4) > UINT32_MAX;
    double room = 0;
    if (const auto first = measured(file, counts.end)) {
        const double tags = double(counts.video + counts.audio) * times;
        // Past 4 GiB every chunk offset takes 8 bytes instead of 4.
        room = first->first + (first->second + (wide ? 4 : 0)) * tags + kBoxHeaders;
    } else {
        const auto scaled = [times](uint64_t tags) { return uint64_t(double(tags) * times); };
        room = double(Mp4Index::room(scaled(counts.video) + 1, scaled(counts.audio) + 1, wide));
    }
    const uint64_t rounded = uint64_t(std::ceil(room / double(kAlignment)));
    return std::max<uint64_t>(rounded, 1) * kAlignment;
}
