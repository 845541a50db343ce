#include "VideoDimensions.h"

#include "BitReader.h"
#include "FlvFormat.h"

namespace flvmdi {

namespace {

std::optional<Dimensions> checked(uint64_t width, uint64_t height) {
    if (width == 0 || height == 0 || width > 0xFFFF || height > 0xFFFF)
        return std::nullopt;
    return Dimensions{uint32_t(width), uint32_t(height)};
}

bool hasChromaFormat(uint32_t profile) {
    switch (profile) {
        case 100:
        case 110:
        case 122:
        case 244:
        case 44:
        case 83:
        case 86:
        case 118:
        case 128:
        case 138:
        case 139:
        case 134:
        case 135:
            return true;
        default:
            return false;
    }
}

void skipScalingList(BitReader& bits, int size) {
    int64_t last = 8;
    int64_t next = 8;
    for (int j = 0; j < size && bits.ok(); ++j) {
        if (next != 0)
            next = ((last + bits.se()) % 256 + 256) % 256;
        last = next == 0 ? last : next;
    }
}

}  // namespace

std::optional<Dimensions> VideoDimensions::fromVideoTag(std::span<const uint8_t> payload) {
    if (payload.empty())
        return std::nullopt;
    const uint8_t frameType = payload[0] >> 4;
    const uint8_t codec = payload[0] & 0x0F;
    if (frameType == kFrameCommand)
        return std::nullopt;
    const auto data = payload.subspan(1);
    switch (codec) {
        case kVideoCodecH263:
            return fromH263(data);
        case kVideoCodecScreen:
        case kVideoCodecScreen2:
            return fromScreenVideo(data);
        case kVideoCodecVp6:
        case kVideoCodecVp6Alpha:
            return fromVp6(data, codec == kVideoCodecVp6Alpha);
        case kVideoCodecAvc:
            if (data.size() < 4 || data[0] != kAvcSequenceHeader)
                return std::nullopt;
            return fromAvcConfiguration(data.subspan(4));
        default:
            return std::nullopt;
    }
}

std::optional<Dimensions> VideoDimensions::fromH263(std::span<const uint8_t> data) {
    BitReader bits(data);
    if (bits.bits(17) != 1)
        return std::nullopt;
    bits.skip(5 + 8);  // version, temporal reference
    uint32_t width = 0;
    uint32_t height = 0;
    switch (bits.bits(3)) {
        case 0:
            width = bits.bits(8);
            height = bits.bits(8);
            break;
        case 1:
            width = bits.bits(16);
            height = bits.bits(16);
            break;
        case 2:
            width = 352;
            height = 288;
            break;
        case 3:
            width = 176;
            height = 144;
            break;
        case 4:
            width = 128;
            height = 96;
            break;
        case 5:
            width = 320;
            height = 240;
            break;
        case 6:
            width = 160;
            height = 120;
            break;
        default:
            return std::nullopt;
    }
    return bits.ok() ? checked(width, height) : std::nullopt;
}

std::optional<Dimensions> VideoDimensions::fromScreenVideo(std::span<const uint8_t> data) {
    BitReader bits(data);
    bits.skip(4);
    const uint32_t width = bits.bits(12);
    bits.skip(4);
    const uint32_t height = bits.bits(12);
    return bits.ok() ? checked(width, height) : std::nullopt;
}

// Only key frames carry the size: stored macroblock rows and columns, less the adjustment the
// FLV packet puts in front of the frame.
std::optional<Dimensions> VideoDimensions::fromVp6(std::span<const uint8_t> data, bool alpha) {
    const size_t frameStart = alpha ? 4 : 1;
    if (data.size() < frameStart + 6)
        return std::nullopt;
    const uint8_t adjust = data[0];
    auto frame = data.subspan(frameStart);
    if (frame[0] & 0x80)
        return std::nullopt;  // inter frame
    const bool separatedCoefficients = frame[0] & 1;
    const bool filterHeader = frame[1] & 0x06;
    if (separatedCoefficients || !filterHeader) {
        if (frame.size() < 8)
            return std::nullopt;
        frame = frame.subspan(2);
    }
    const uint32_t rows = frame[2];
    const uint32_t cols = frame[3];
    if (rows * 16 <= uint32_t(adjust & 0x0F) || cols * 16 <= uint32_t(adjust >> 4))
        return std::nullopt;
    return checked(cols * 16 - (adjust >> 4), rows * 16 - (adjust & 0x0F));
}

std::optional<Dimensions> VideoDimensions::fromAvcConfiguration(std::span<const uint8_t> record) {
    if (record.size() < 8 || record[0] != 1)
        return std::nullopt;
    if ((record[5] & 0x1F) == 0)
        return std::nullopt;  // no sequence parameter set
    const size_t length = readBe16(&record[6]);
    if (record.size() - 8 < length)
        return std::nullopt;
    return fromAvcSps(record.subspan(8, length));
}

std::vector<uint8_t> VideoDimensions::withoutEmulationPrevention(std::span<const uint8_t> nal) {
    std::vector<uint8_t> out;
    out.reserve(nal.size());
    int zeros = 0;
    for (const uint8_t b : nal) {
        if (zeros >= 2 && b == 3) {
            zeros = 0;
            continue;
        }
        zeros = b == 0 ? zeros + 1 : 0;
        out.push_back(b);
    }
    return out;
}

std::optional<Dimensions> VideoDimensions::fromAvcSps(std::span<const uint8_t> nal) {
    if (nal.empty() || (nal[0] & 0x1F) != 7)
        return std::nullopt;
    const auto rbsp = withoutEmulationPrevention(nal.subspan(1));
    BitReader bits(rbsp);
    const uint32_t profile = bits.bits(8);
    bits.skip(16);  // constraint flags, level
    bits.ue();      // seq_parameter_set_id
    uint32_t chromaFormat = 1;
    bool separateColourPlanes = false;
    if (hasChromaFormat(profile)) {
        chromaFormat = bits.ue();
        if (chromaFormat > 3)
            return std::nullopt;
        if (chromaFormat == 3)
            separateColourPlanes = bits.bit();
        bits.ue();   // bit depth luma
        bits.ue();   // bit depth chroma
        bits.bit();  // transform bypass
        if (bits.bit()) {
            const int lists = chromaFormat == 3 ? 12 : 8;
            for (int i = 0; i < lists && bits.ok(); ++i)
                if (bits.bit())
                    skipScalingList(bits, i < 6 ? 16 : 64);
        }
    }
    bits.ue();  // log2_max_frame_num
    const uint32_t pocType = bits.ue();
    if (pocType == 0) {
        bits.ue();
    } else if (pocType == 1) {
        bits.bit();
        bits.se();
        bits.se();
        const uint32_t cycle = bits.ue();
        if (cycle > 255)
            return std::nullopt;
        for (uint32_t i = 0; i < cycle && bits.ok(); ++i)
            bits.se();
    }
    bits.ue();   // max_num_ref_frames
    bits.bit();  // gaps allowed
    const uint64_t widthMbs = uint64_t(bits.ue()) + 1;
    const uint64_t heightMapUnits = uint64_t(bits.ue()) + 1;
    const bool frameMbsOnly = bits.bit();
    if (!frameMbsOnly)
        bits.bit();  // adaptive frame/field
    bits.bit();      // direct 8x8 inference
    uint64_t cropLeft = 0, cropRight = 0, cropTop = 0, cropBottom = 0;
    if (bits.bit()) {
        cropLeft = bits.ue();
        cropRight = bits.ue();
        cropTop = bits.ue();
        cropBottom = bits.ue();
    }
    if (!bits.ok())
        return std::nullopt;
    const uint64_t fieldFactor = frameMbsOnly ? 1 : 2;
    const uint32_t chromaArrayType = separateColourPlanes ? 0 : chromaFormat;
    const uint64_t cropUnitX = chromaArrayType == 1 || chromaArrayType == 2 ? 2 : 1;
    const uint64_t cropUnitY = (chromaArrayType == 1 ? 2 : 1) * fieldFactor;
    const uint64_t width = widthMbs * 16;
    const uint64_t height = heightMapUnits * 16 * fieldFactor;
    const uint64_t cropX = cropUnitX * (cropLeft + cropRight);
    const uint64_t cropY = cropUnitY * (cropTop + cropBottom);
    if (cropX >= width || cropY >= height)
        return std::nullopt;
    return checked(width - cropX, height - cropY);
}

}  // namespace flvmdi
