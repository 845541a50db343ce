#include "AudioFormat.h"

#include <iterator>

#include "BitReader.h"
#include "FlvFormat.h"

namespace flvmdi {

namespace {

constexpr uint32_t kFlagRates[] = {5512, 11025, 22050, 44100};
constexpr uint32_t kAacRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                  22050, 16000, 12000, 11025, 8000,  7350};

// AudioSpecificConfig: object type, frequency index (or an explicit 24-bit rate), channels.
bool readAacConfiguration(std::span<const uint8_t> config, AudioFormat& format) {
    BitReader bits(config);
    if (bits.bits(5) == 31)
        bits.skip(6);
    const uint32_t index = bits.bits(4);
    uint32_t rate = 0;
    if (index == 15)
        rate = bits.bits(24);
    else if (index < std::size(kAacRates))
        rate = kAacRates[index];
    const uint32_t channels = bits.bits(4);
    if (!bits.ok() || rate == 0)
        return false;
    format.sampleRate = rate;
    format.sampleSize = 16;
    format.stereo = channels >= 2;
    format.fromAacConfiguration = true;
    return true;
}

}  // namespace

std::optional<AudioFormat> AudioFormat::fromAudioTag(std::span<const uint8_t> payload) {
    if (payload.empty())
        return std::nullopt;
    AudioFormat format;
    const uint8_t flags = payload[0];
    format.codec = flags >> 4;
    format.sampleRate = kFlagRates[flags >> 2 & 3];
    format.sampleSize = (flags & 2) ? 16 : 8;
    format.stereo = flags & 1;
    switch (format.codec) {
        case 4:   // Nellymoser 16 kHz
        case 11:  // Speex
            format.sampleRate = 16000;
            break;
        case 5:   // Nellymoser 8 kHz
        case 14:  // MP3 8 kHz
            format.sampleRate = 8000;
            break;
        case kAudioFormatAac:
            if (payload.size() > 2 && payload[1] == 0)
                readAacConfiguration(payload.subspan(2), format);
            break;
        default:
            break;
    }
    return format;
}

}  // namespace flvmdi
