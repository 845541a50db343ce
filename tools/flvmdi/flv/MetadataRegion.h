// The first bytes of the new file, the FLV header and our onMetaData tag, and the size chosen for
// that tag: the old tag's size when ours fits into it and nothing else changes (the file is then
// updated in place), else ours with room to grow.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "MetadataCalculator.h"

namespace flvmdi {

struct MetadataRegion {
    uint32_t metaDataSize = 0;
    bool inPlace = false;
    std::vector<uint8_t> bytes;

    // The padding may also put an unchanged stretch of the file at the same place within a 4 KiB
    // block in the new file as in the old one, so the writer can hand it to the disk straight
    // from the old file's pages: `aligned`, or else the longest stretch when it is long enough.
    static MetadataRegion decide(const MetadataCalculator& calculator,
                                 std::optional<MetadataCalculator::Run> aligned = std::nullopt);
    // A region whose tag has exactly metaDataSize bytes of data, or nothing when the padding
    // cannot make up the difference.
    static std::optional<MetadataRegion> sized(const MetadataCalculator& calculator,
                                               uint64_t metaDataSize);
    // Room left in a freshly written metadata tag for later growth of the index.
    static size_t paddingFor(size_t naturalSize);
};

// The onLastSecond tag the new file gets, or no bytes.
std::vector<uint8_t> lastSecondTag(const MetadataCalculator& calculator);

}  // namespace flvmdi
