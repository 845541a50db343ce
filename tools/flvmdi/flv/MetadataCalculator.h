// Everything flvmdi works out about a file, from its tags in file order, without touching a file:
// the onMetaData values, the keyframe index, where onLastSecond goes and whether the existing
// metadata tag can simply be overwritten.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "AudioFormat.h"
#include "FlvFormat.h"
#include "KeyframeIndex.h"
#include "Metadata.h"
#include "VideoDimensions.h"

namespace flvmdi {

struct InjectOptions {
    bool keyframes = false;   // /k
    bool lastSecond = false;  // /l
};

class MetadataCalculator {
  public:
    // An earlier onMetaData or onLastSecond is dropped (ours replace them); all else is kept.
    enum class Role { Audio, Video, OldMetaData, OldLastSecond, Script };
    static Role roleOf(const FlvTag& tag);
    static bool isKept(Role role) {
        return role != Role::OldMetaData && role != Role::OldLastSecond;
    }

    // The onLastSecond tag goes right before the kept audio or video tag at inputOffset.
    struct LastSecondPoint {
        uint64_t inputOffset = 0;
        uint64_t position = 0;  // among the kept tags
        uint32_t timestamp = 0;
    };

    // Where the new file differs from the old one after its header, in file order: a tag left
    // out, or a PreviousTagSize put right. The onLastSecond insertion comes on top.
    struct Edit {
        enum class Kind : uint8_t { Drop, FixTrailer };
        uint64_t offset = 0;  // of the dropped tag or the wrong trailer
        Kind kind = Kind::Drop;
        uint32_t value = 0;  // bytes dropped, or the right PreviousTagSize
        bool operator==(const Edit&) const = default;
    };
    // A file needing more edits than this is refused rather than held in memory.
    static constexpr size_t kMaxEdits = 1 << 20;

    // A stretch of the old file that goes into the new one unchanged.
    struct Run {
        uint64_t inputOffset = 0;
        uint64_t position = 0;  // among the kept tags
        uint64_t length = 0;
    };

    explicit MetadataCalculator(InjectOptions options,
                                size_t keyframeCapacity = KeyframeIndex::kDefaultCapacity);

    void setHeader(const FlvHeader& header) { header_ = header; }
    uint64_t firstTagOffset() const { return header_.firstTagOffset(); }
    // Every tag of the file, in file order. Throws FlvError for an encrypted file.
    void add(const FlvTag& tag);

    std::optional<LastSecondPoint> lastSecondPoint() const;
    // The data size of the file's onMetaData tag when putting ours in its place, with exactly
    // that size, leaves every other byte of the file as it is.
    std::optional<uint32_t> inPlaceDataSize() const;

    Metadata metadata(uint32_t metaDataSize) const;
    uint8_t headerFlags() const;
    uint64_t outputSize(uint32_t metaDataSize) const;
    uint64_t outputOffset(uint64_t position, uint32_t metaDataSize) const;
    size_t keyframeCount() const { return keyframes_.entries().size(); }
    const std::vector<Edit>& edits() const { return edits_; }
    Run longestRun() const;

  private:
    struct StreamTimes {
        uint64_t frames = 0;
        uint32_t first = 0;
        uint32_t last = 0;
        void add(uint32_t timestamp);
        double interval() const;  // mean time between frames, ms
        double end() const { return frames ? last + interval() : 0; }
    };
    struct ExistingLastSecond {
        uint32_t timestamp = 0;
        bool canonical = false;
        std::optional<uint64_t> follower;  // offset of the tag right after it
    };

    void addAudio(const FlvTag& tag);
    void addVideo(const FlvTag& tag, uint64_t position);
    void noteTimestamp(const FlvTag& tag, uint64_t position);
    void addEdit(Edit edit);
    uint64_t lastSecondTagSize() const;
    double durationMs() const;

    InjectOptions options_;
    FlvHeader header_;
    KeyframeIndex keyframes_;
    uint64_t kept_ = 0;  // bytes of kept tags so far
    uint64_t end_ = 0;   // where the last tag ended
    bool trailersRight_ = true;
    std::vector<Edit> edits_;

    bool hasVideo_ = false;
    bool hasAudio_ = false;
    std::optional<uint8_t> videoCodec_;
    std::optional<Dimensions> dimensions_;
    std::optional<AudioFormat> audio_;
    // Sizes count tag headers and payloads, as players and checkers of these fields expect.
    uint64_t videoTagBytes_ = 0, audioTagBytes_ = 0, scriptTagBytes_ = 0;
    uint64_t videoPayload_ = 0, audioPayload_ = 0;
    StreamTimes videoTimes_, audioTimes_;
    bool lastFrameIsKey_ = false;
    std::optional<KeyframeIndex::Entry> lastKeyframe_;

    bool anyTimestamp_ = false;
    uint32_t maxTimestamp_ = 0;
    std::deque<LastSecondPoint> lastSecondCandidates_;

    unsigned metaDataTags_ = 0;
    std::optional<uint32_t> leadingMetaDataSize_;
    unsigned lastSecondTags_ = 0;
    ExistingLastSecond existingLastSecond_;
    bool awaitingFollower_ = false;
};

}  // namespace flvmdi
