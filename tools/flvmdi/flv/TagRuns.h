// The new file after its header: runs of the old file copied as they are, between the edits the
// scan found and the onLastSecond tag. The injector and the copy that injects on the way lay the
// file out alike, so both give the same bytes.
#pragma once

#include <cstdint>

namespace flvmdi {

class FlvWriter;
class MetadataCalculator;

class TagRuns {
  public:
    // Writes the tags of input bytes [firstTag, end) with the calculator's edits applied.
    static void write(uint64_t firstTag, uint64_t end, const MetadataCalculator& calculator,
                      FlvWriter& writer);
};

}  // namespace flvmdi
