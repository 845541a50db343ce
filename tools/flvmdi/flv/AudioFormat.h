// What the first bytes of an audio tag say about the sound: codec, rate, sample size, channels.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace flvmdi {

struct AudioFormat {
    uint8_t codec = 0;
    uint32_t sampleRate = 0;  // Hz
    uint32_t sampleSize = 0;  // bits
    bool stereo = false;
    bool fromAacConfiguration = false;  // exact values from an AAC sequence header
    bool operator==(const AudioFormat&) const = default;

    // The whole AUDIODATA of a tag. The rate field cannot express the rates of Nellymoser,
    // Speex, 8 kHz MP3 or most AAC, so those come from the codec or its configuration.
    static std::optional<AudioFormat> fromAudioTag(std::span<const uint8_t> payload);
};

}  // namespace flvmdi
