#include "convert/AvcConfig.h"

#include "flv/BitReader.h"
#include "flv/FlvFormat.h"
#include "flv/VideoDimensions.h"

namespace {

constexpr uint8_t kProfileBaseline = 66;
constexpr uint8_t kProfileMain = 77;
constexpr uint8_t kProfileExtended = 88;
constexpr uint8_t kProfileHigh = 100;
constexpr size_t kRecordHeader = 8;  // up to and including the first SPS length

// High profile may also be monochrome; its SPS says so after the parameter set id.
bool highIs420(std::span<const uint8_t> sps) {
    const auto rbsp = flvmdi::VideoDimensions::withoutEmulationPrevention(sps.subspan(1));
    flvmdi::BitReader bits(rbsp);
    bits.skip(24);  // profile, constraint flags, level
    bits.ue();      // seq_parameter_set_id
    const uint32_t chromaFormat = bits.ue();
    if (chromaFormat == 3)
        bits.bit();  // separate_colour_plane_flag
    const uint32_t lumaDepth = bits.ue() + 8;
    const uint32_t chromaDepth = bits.ue() + 8;
    return bits.ok() && chromaFormat == 1 && lumaDepth == 8 && chromaDepth == 8;
}

}  // namespace

bool AvcConfig::isPlain420(std::span<const uint8_t> record) {
    if (record.size() < kRecordHeader || record[0] != 1 || (record[5] & 0x1F) == 0)
        return false;
    const size_t length = flvmdi::readBe16(&record[6]);
    if (length < 4 || record.size() - kRecordHeader < length)
        return false;
    const auto sps = record.subspan(kRecordHeader, length);
    if ((sps[0] & 0x1F) != 7)
        return false;
    switch (sps[1]) {
        case kProfileBaseline:
        case kProfileMain:
        case kProfileExtended:
            return true;
        case kProfileHigh:
            return highIs420(sps);
        default:
            return false;
    }
}
