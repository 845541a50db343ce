#include "MetadataCalculator.h"

#include <algorithm>

#include "Amf0.h"
#include "ScriptTagBuilder.h"

namespace flvmdi {

namespace {

constexpr uint64_t kOutputTagsStart = kFileHeaderSize + kTagTrailerSize;

uint64_t tagTotal(uint64_t dataSize) {
    return kTagHeaderSize + dataSize + kTagTrailerSize;
}

}  // namespace

void MetadataCalculator::StreamTimes::add(uint32_t timestamp) {
    if (frames++ == 0)
        first = timestamp;
    last = timestamp;
}

double MetadataCalculator::StreamTimes::interval() const {
    if (frames < 2 || last <= first)
        return 0;
    return double(last - first) / double(frames - 1);
}

MetadataCalculator::Role MetadataCalculator::roleOf(const FlvTag& tag) {
    if (tag.type == kTagAudio)
        return Role::Audio;
    if (tag.type == kTagVideo)
        return Role::Video;
    if (tag.filtered)
        return Role::Script;
    try {
        amf0::Reader reader(tag.head);
        const amf0::Value name = reader.readValue();
        if (name.marker == amf0::Marker::String && name.text == "onMetaData")
            return Role::OldMetaData;
        if (name.marker == amf0::Marker::String && name.text == "onLastSecond")
            return Role::OldLastSecond;
    } catch (const FlvError&) {
        // Script data we cannot read is not ours to judge: it is kept as it is.
    }
    return Role::Script;
}

MetadataCalculator::MetadataCalculator(InjectOptions options, size_t keyframeCapacity)
    : options_(options), keyframes_(keyframeCapacity) {}

void MetadataCalculator::add(const FlvTag& tag) {
    const Role role = roleOf(tag);
    if (tag.filtered && role != Role::Script)
        throw FlvError("the file is encrypted; encrypted FLV files are not supported");
    if (awaitingFollower_) {
        existingLastSecond_.follower = tag.offset;
        awaitingFollower_ = false;
    }
    const bool wellFormed = tag.streamId == 0 && tag.trailerIsRight();
    end_ = tag.end();
    if (!isKept(role))
        addEdit({tag.offset, Edit::Kind::Drop, uint32_t(tag.totalSize())});
    else if (!tag.trailerIsRight())
        addEdit({tag.end() - kTagTrailerSize, Edit::Kind::FixTrailer,
                 uint32_t(kTagHeaderSize + tag.dataSize)});
    if (role == Role::OldMetaData) {
        ++metaDataTags_;
        if (tag.offset == header_.firstTagOffset() && tag.timestamp == 0 && wellFormed)
            leadingMetaDataSize_ = tag.dataSize;
        return;
    }
    if (role == Role::OldLastSecond) {
        ++lastSecondTags_;
        const auto canonical = ScriptTagBuilder::onLastSecondPayload();
        existingLastSecond_ = {
            tag.timestamp, wellFormed && std::ranges::equal(tag.head, canonical), {}};
        awaitingFollower_ = true;
        return;
    }
    trailersRight_ = trailersRight_ && tag.trailerIsRight();
    const uint64_t position = kept_;
    kept_ += tag.totalSize();
    if (role == Role::Script)
        scriptTagBytes_ += kTagHeaderSize + tag.dataSize;
    else if (role == Role::Audio)
        addAudio(tag);
    else if (role == Role::Video)
        addVideo(tag, position);
    if (role != Role::Script)
        noteTimestamp(tag, position);
}

void MetadataCalculator::addEdit(Edit edit) {
    if (edits_.size() == kMaxEdits)
        throw FlvError("the file has too many damaged or stale tags");
    edits_.push_back(edit);
}

void MetadataCalculator::addAudio(const FlvTag& tag) {
    hasAudio_ = true;
    audioTagBytes_ += kTagHeaderSize + tag.dataSize;
    audioPayload_ += tag.dataSize;
    const auto format = AudioFormat::fromAudioTag(tag.head);
    if (!format)
        return;
    if (!audio_ || (format->fromAacConfiguration && !audio_->fromAacConfiguration))
        audio_ = format;
    const bool aacConfiguration =
        format->codec == kAudioFormatAac && tag.head.size() > 1 && tag.head[1] == 0;
    if (!aacConfiguration)
        audioTimes_.add(tag.timestamp);
}

// Sequence headers, end-of-sequence markers and command frames describe the stream but are no
// pictures: they neither count as frames nor enter the keyframe index.
void MetadataCalculator::addVideo(const FlvTag& tag, uint64_t position) {
    hasVideo_ = true;
    videoTagBytes_ += kTagHeaderSize + tag.dataSize;
    videoPayload_ += tag.dataSize;
    if (tag.head.empty())
        return;
    const uint8_t frameType = tag.head[0] >> 4;
    const uint8_t codec = tag.head[0] & 0x0F;
    if (!videoCodec_)
        videoCodec_ = codec;
    if (!dimensions_)
        dimensions_ = VideoDimensions::fromVideoTag(tag.head);
    if (frameType == kFrameCommand)
        return;
    if (codec == kVideoCodecAvc && (tag.head.size() < 2 || tag.head[1] != kAvcNalu))
        return;
    videoTimes_.add(tag.timestamp);
    lastFrameIsKey_ = frameType == kFrameKey;
    if (lastFrameIsKey_) {
        keyframes_.add(tag.timestamp, position);
        lastKeyframe_ = KeyframeIndex::Entry{tag.timestamp, position};
    }
}

// The candidates for "first tag of the last second" form a short list of strictly growing times
// within a second of the latest time seen: a later tag whose time is not above the last candidate
// can never be first, and a candidate that falls out of the window never comes back.
void MetadataCalculator::noteTimestamp(const FlvTag& tag, uint64_t position) {
    if (!anyTimestamp_ || tag.timestamp > maxTimestamp_)
        maxTimestamp_ = tag.timestamp;
    anyTimestamp_ = true;
    if (lastSecondCandidates_.empty() || lastSecondCandidates_.back().timestamp < tag.timestamp)
        lastSecondCandidates_.push_back({tag.offset, position, tag.timestamp});
    while (uint64_t(lastSecondCandidates_.front().timestamp) + 1000 < maxTimestamp_)
        lastSecondCandidates_.pop_front();
}

std::optional<MetadataCalculator::LastSecondPoint> MetadataCalculator::lastSecondPoint() const {
    if (!options_.lastSecond || lastSecondCandidates_.empty())
        return std::nullopt;
    return lastSecondCandidates_.front();
}

uint64_t MetadataCalculator::lastSecondTagSize() const {
    return lastSecondPoint() ? tagTotal(ScriptTagBuilder::onLastSecondPayload().size()) : 0;
}

std::optional<uint32_t> MetadataCalculator::inPlaceDataSize() const {
    if (!leadingMetaDataSize_ || metaDataTags_ != 1 || !trailersRight_ ||
        header_.firstTagOffset() != kOutputTagsStart)
        return std::nullopt;
    const auto point = lastSecondPoint();
    if (!point)
        return lastSecondTags_ == 0 ? leadingMetaDataSize_ : std::nullopt;
    const auto& old = existingLastSecond_;
    if (lastSecondTags_ != 1 || !old.canonical || old.timestamp != point->timestamp ||
        old.follower != point->inputOffset)
        return std::nullopt;
    return leadingMetaDataSize_;
}

MetadataCalculator::Run MetadataCalculator::longestRun() const {
    Run best;
    uint64_t start = header_.firstTagOffset();
    uint64_t dropped = 0;
    auto consider = [&](uint64_t runEnd) {
        if (runEnd > start && runEnd - start > best.length)
            best = {start, start - header_.firstTagOffset() - dropped, runEnd - start};
    };
    const auto point = lastSecondPoint();
    bool split = !point;
    for (const auto& edit : edits_) {
        if (!split && point->inputOffset <= edit.offset) {
            consider(point->inputOffset);
            start = point->inputOffset;
            split = true;
        }
        consider(edit.offset);
        if (edit.kind == Edit::Kind::Drop) {
            dropped += edit.value;
            start = edit.offset + edit.value;
        } else {
            start = edit.offset + kTagTrailerSize;
        }
    }
    if (!split) {
        consider(point->inputOffset);
        start = point->inputOffset;
    }
    consider(std::max(end_, start));
    return best;
}

uint8_t MetadataCalculator::headerFlags() const {
    return uint8_t((hasAudio_ ? 4 : 0) | (hasVideo_ ? 1 : 0));
}

uint64_t MetadataCalculator::outputSize(uint32_t metaDataSize) const {
    return kOutputTagsStart + tagTotal(metaDataSize) + kept_ + lastSecondTagSize();
}

uint64_t MetadataCalculator::outputOffset(uint64_t position, uint32_t metaDataSize) const {
    const auto point = lastSecondPoint();
    const uint64_t inserted = point && position >= point->position ? lastSecondTagSize() : 0;
    return kOutputTagsStart + tagTotal(metaDataSize) + position + inserted;
}

// Each stream ends one mean frame interval after its last frame began.
double MetadataCalculator::durationMs() const {
    return std::max({videoTimes_.end(), audioTimes_.end(), double(maxTimestamp_)});
}

Metadata MetadataCalculator::metadata(uint32_t metaDataSize) const {
    Metadata m;
    m.hasVideo = hasVideo_;
    m.hasAudio = hasAudio_;
    m.hasKeyframes = !keyframes_.entries().empty();
    m.canSeekToEnd = lastFrameIsKey_;
    const double durationMs = this->durationMs();
    m.duration = durationMs / 1000;
    m.lastTimestamp = maxTimestamp_ / 1000.0;
    if (lastKeyframe_) {
        m.lastKeyframeTimestamp = lastKeyframe_->timestamp / 1000.0;
        m.lastKeyframeLocation = double(outputOffset(lastKeyframe_->position, metaDataSize));
    }
    m.dimensions = dimensions_;
    m.videoCodecId = videoCodec_.value_or(0);
    const double videoSpan = double(videoTimes_.last) - double(videoTimes_.first);
    if (videoTimes_.frames >= 2 && videoSpan > 0)
        m.frameRate = double(videoTimes_.frames - 1) * 1000 / videoSpan;
    m.audio = audio_;
    if (durationMs > 0) {
        m.videoDataRate = double(videoPayload_) * 8 / durationMs;  // kbit/s
        m.audioDataRate = double(audioPayload_) * 8 / durationMs;
    }
    m.fileSize = double(outputSize(metaDataSize));
    const uint64_t ownScriptBytes = kTagHeaderSize + metaDataSize +
                                    (lastSecondPoint() ? lastSecondTagSize() - kTagTrailerSize : 0);
    m.dataSize = double(scriptTagBytes_ + ownScriptBytes);
    m.videoSize = double(videoTagBytes_);
    m.audioSize = double(audioTagBytes_);
    m.writeKeyframes = options_.keyframes;
    if (options_.keyframes) {
        for (const auto& e : keyframes_.entries()) {
            m.keyframeTimes.push_back(e.timestamp / 1000.0);
            m.keyframePositions.push_back(double(outputOffset(e.position, metaDataSize)));
        }
    }
    return m;
}

}  // namespace flvmdi
