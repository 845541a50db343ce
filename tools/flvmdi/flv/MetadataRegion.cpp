#include "MetadataRegion.h"

#include <algorithm>

#include "FlvWriter.h"
#include "ScriptTagBuilder.h"

namespace flvmdi {

namespace {

constexpr uint64_t kBlock = 4096;

size_t naturalSize(const MetadataCalculator& calculator) {
    return ScriptTagBuilder::onMetaDataPayload(calculator.metadata(0), 0).size();
}

size_t alignment(const MetadataCalculator& calculator, size_t natural,
                 const MetadataCalculator::Run& run) {
    const uint32_t unaligned = uint32_t(natural + MetadataRegion::paddingFor(natural));
    const uint64_t out = calculator.outputOffset(run.position, unaligned);
    return size_t((run.inputOffset % kBlock + kBlock - out % kBlock) % kBlock);
}

MetadataRegion build(const MetadataCalculator& calculator, uint32_t metaDataSize, size_t natural,
                     bool inPlace) {
    MetadataRegion region;
    region.metaDataSize = metaDataSize;
    region.inPlace = inPlace;
    const auto payload = ScriptTagBuilder::onMetaDataPayload(calculator.metadata(metaDataSize),
                                                             metaDataSize - natural);
    region.bytes = ScriptTagBuilder::fileHeader(calculator.headerFlags());
    const auto tag = ScriptTagBuilder::scriptTag(payload, 0);
    region.bytes.insert(region.bytes.end(), tag.begin(), tag.end());
    return region;
}

}  // namespace

size_t MetadataRegion::paddingFor(size_t naturalSize) {
    return std::min<size_t>(ScriptTagBuilder::kMaxPadding - 4096, 1024 + naturalSize / 8);
}

MetadataRegion MetadataRegion::decide(const MetadataCalculator& calculator,
                                      std::optional<MetadataCalculator::Run> aligned) {
    const size_t natural = naturalSize(calculator);
    const auto existing = calculator.inPlaceDataSize();
    if (existing && *existing >= natural && ScriptTagBuilder::paddingFits(*existing - natural))
        return build(calculator, *existing, natural, true);
    size_t size = natural + paddingFor(natural);
    const auto run = aligned.value_or(calculator.longestRun());
    if (aligned || run.length >= FlvWriter::kDirectMinimum)
        size += alignment(calculator, natural, run);
    if (size > kMaxTagDataSize)
        throw FlvError("the keyframe index is too large for a metadata tag");
    return build(calculator, uint32_t(size), natural, false);
}

std::optional<MetadataRegion> MetadataRegion::sized(const MetadataCalculator& calculator,
                                                    uint64_t metaDataSize) {
    const size_t natural = naturalSize(calculator);
    if (metaDataSize < natural || metaDataSize > kMaxTagDataSize ||
        !ScriptTagBuilder::paddingFits(metaDataSize - natural))
        return std::nullopt;
    return build(calculator, uint32_t(metaDataSize), natural, false);
}

std::vector<uint8_t> lastSecondTag(const MetadataCalculator& calculator) {
    const auto point = calculator.lastSecondPoint();
    if (!point)
        return {};
    return ScriptTagBuilder::scriptTag(ScriptTagBuilder::onLastSecondPayload(), point->timestamp);
}

}  // namespace flvmdi
