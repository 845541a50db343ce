// The values of the onMetaData tag, computed for one output layout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "AudioFormat.h"
#include "VideoDimensions.h"
#include "platform/Version.h"

namespace flvmdi {

struct Metadata {
    bool hasVideo = false;
    bool hasAudio = false;
    bool hasKeyframes = false;
    bool canSeekToEnd = false;
    double duration = 0;       // seconds
    double lastTimestamp = 0;  // seconds
    double lastKeyframeTimestamp = 0;
    double lastKeyframeLocation = 0;  // byte offset in the output
    std::optional<Dimensions> dimensions;
    double videoCodecId = 0;
    double videoDataRate = 0;  // kbit/s of video payload
    double frameRate = 0;
    std::optional<AudioFormat> audio;
    double audioDataRate = 0;
    double fileSize = 0;
    double dataSize = 0;  // script tags, ours included
    double videoSize = 0;
    double audioSize = 0;
    bool writeKeyframes = false;
    std::vector<double> keyframeTimes;      // seconds
    std::vector<double> keyframePositions;  // byte offsets in the output
};

inline const std::string kMetadataCreator = "flvmdi (" VIDLARK_TITLE ")";

}  // namespace flvmdi
