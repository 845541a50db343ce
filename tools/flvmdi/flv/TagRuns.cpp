#include "TagRuns.h"

#include "FlvFormat.h"
#include "FlvWriter.h"
#include "MetadataCalculator.h"
#include "MetadataRegion.h"

namespace flvmdi {

void TagRuns::write(uint64_t firstTag, uint64_t end, const MetadataCalculator& calculator,
                    FlvWriter& writer) {
    using Kind = MetadataCalculator::Edit::Kind;
    const auto point = calculator.lastSecondPoint();
    const auto lastSecond = lastSecondTag(calculator);
    uint64_t position = firstTag;
    bool inserted = !point;
    auto insertUpTo = [&](uint64_t offset) {
        if (inserted || point->inputOffset > offset)
            return;
        writer.copy(position, point->inputOffset - position);
        writer.write(lastSecond);
        position = point->inputOffset;
        inserted = true;
    };
    for (const auto& edit : calculator.edits()) {
        insertUpTo(edit.offset);
        writer.copy(position, edit.offset - position);
        if (edit.kind == Kind::Drop) {
            position = edit.offset + edit.value;
            continue;
        }
        uint8_t trailer[kTagTrailerSize];
        writeBe32(trailer, edit.value);
        writer.write(trailer);
        position = edit.offset + kTagTrailerSize;
    }
    insertUpTo(end);
    writer.copy(position, end - position);
}

}  // namespace flvmdi
