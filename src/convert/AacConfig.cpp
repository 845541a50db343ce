#include "convert/AacConfig.h"

#include "flv/BitReader.h"

namespace {

constexpr uint32_t kRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                               22050, 16000, 12000, 11025, 8000,  7350};
constexpr uint32_t kSyncExtension = 0x2B7;
constexpr uint32_t kObjectSbr = 5;

}  // namespace

std::optional<AacConfig> AacConfig::parse(std::span<const uint8_t> config) {
    flvmdi::BitReader bits(config);
    const uint32_t object = bits.bits(5);
    const uint32_t rateIndex = bits.bits(4);
    const uint32_t channels = bits.bits(4);
    const uint32_t frameLength960 = bits.bit();
    const uint32_t dependsOnCore = bits.bit();
    const uint32_t extension = bits.bit();
    if (!bits.ok() || object < 1 || object > 4 || rateIndex >= std::size(kRates) || channels < 1 ||
        channels > 7 || frameLength960 || dependsOnCore || extension)
        return std::nullopt;
    // Encoders may say outright that no SBR follows; any other extension changes the output.
    if (config.size() > 2) {
        const bool sbrAbsent = config.size() == 5 && bits.bits(11) == kSyncExtension &&
                               bits.bits(5) == kObjectSbr && bits.bit() == 0;
        if (!sbrAbsent || !bits.ok())
            return std::nullopt;
    }
    // The MP4 sample entry holds the rate as a 16.16 value.
    if (kRates[rateIndex] > 0xFFFF)
        return std::nullopt;
    return AacConfig{kRates[rateIndex], channels == 7 ? 8 : channels};  // 7 is 7.1
}
