// The MP4 copy of an FLV is planned from whatever bytes the user's file holds: any bytes must give
// a plan or none, never a crash, a hang or unbounded memory, and a plan must give an index whose
// boxes nest exactly and whose samples all point inside the copied range, also when the body is
// placed further on (behind the room guessed from the first tags).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "convert/FlvRemuxScan.h"
#include "convert/IndexRoom.h"
#include "convert/Mp4Index.h"
#include "flv/ByteSource.h"
#include "flv/FlvFormat.h"

namespace {

void require(bool condition) {
    if (!condition)
        __builtin_trap();
}

// Walks the boxes between `from` and `to`, into the containers; each must end where its parent
// does.
void walk(const std::vector<uint8_t>& bytes, size_t from, size_t to, int depth) {
    require(depth < 12);
    while (from < to) {
        require(to - from >= 8);
        const uint64_t size = flvmdi::readBe32(&bytes[from]);
        const char* type = reinterpret_cast<const char*>(&bytes[from + 4]);
        const bool mdat = std::string(type, 4) == "mdat";
        if (mdat) {
            require(from + (size == 1 ? 16 : 8) == to);
            return;
        }
        require(size >= 8 && size <= to - from);
        for (const char* container : {"moov", "trak", "mdia", "minf", "stbl", "dinf", "edts"}) {
            if (std::string(type, 4) == container)
                walk(bytes, from + 8, from + size, depth + 1);
        }
        from += size;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    flvmdi::MemorySource source({data, size});
    const FlvRemuxScan::TagCounts counts = FlvRemuxScan::countTags(source, size / 2);
    require(counts.end <= size && counts.video + counts.audio <= size / 15 + 1);
    const std::optional<uint64_t> guessed = IndexRoom::guess(source);
    require(!guessed || *guessed % IndexRoom::kAlignment == 0);
    const auto plan = FlvRemuxScan::plan(source);
    if (!plan)
        return 0;
    require(plan->copyStart < plan->copyEnd && plan->copyEnd <= size);
    for (const RemuxTrack* track : plan->tracks()) {
        require(!track->samples.empty() && track->timescale > 0);
        for (const RemuxSample& sample : track->samples)
            require(sample.offset >= plan->copyStart &&
                    sample.offset + sample.size <= plan->copyEnd);
    }
    const std::vector<uint8_t> head = Mp4Index::head(*plan);
    require(head.size() % Mp4Index::kBlock == plan->copyStart % Mp4Index::kBlock);
    walk(head, 0, head.size(), 0);
    const uint64_t room =
        Mp4Index::room(counts.video, counts.audio, false) / Mp4Index::kBlock * Mp4Index::kBlock;
    const std::vector<uint8_t> placed = Mp4Index::head(*plan, room + plan->copyStart);
    require(placed.size() >= room + plan->copyStart && placed.size() >= head.size());
    require(placed.size() % Mp4Index::kBlock == plan->copyStart % Mp4Index::kBlock);
    walk(placed, 0, placed.size(), 0);
    return 0;
}
