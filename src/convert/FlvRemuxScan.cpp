#include "convert/FlvRemuxScan.h"

#include <cstdlib>

#include "convert/AacConfig.h"
#include "convert/AvcConfig.h"
#include "flv/FlvReader.h"
#include "flv/VideoDimensions.h"

using namespace flvmdi;

namespace {

constexpr size_t kVideoHeader = 5;  // frame type and codec, packet type, composition time
constexpr size_t kAudioHeader = 2;  // format byte, packet type
constexpr uint8_t kExHeaderBit = 0x80;
constexpr uint8_t kAvcEndOfSequence = 2;
constexpr uint8_t kFrameGeneratedKey = 4;
constexpr uint8_t kAacRaw = 1;

// Thrown inside the scan when the file needs the general path; never leaves `plan`.
struct NotRemuxable {};

uint32_t tagTime(const uint8_t* header) {
    return readBe24(header + 4) | uint32_t(header[7]) << 24;
}

int32_t signed24(const uint8_t* p) {
    const uint32_t value = readBe24(p);
    return (value & 0x800000) ? int32_t(value) - 0x1000000 : int32_t(value);
}

class Scan {
  public:
    explicit Scan(ByteSource& source) : m_reader(source) {}

    RemuxPlan run() {
        m_reader.readHeader();
        while (const auto tag = m_reader.next()) {
            if (!tag->trailerIsRight() || tag->filtered)
                throw NotRemuxable{};
            if (tag->type == kTagVideo)
                addVideo(*tag);
            else if (tag->type == kTagAudio)
                addAudio(*tag);
        }
        return finish();
    }

  private:
    void addVideo(const FlvTag& tag) {
        if (tag.dataSize < kVideoHeader)
            throw NotRemuxable{};
        const uint8_t* h = tag.head.data();
        const uint8_t frameType = h[0] >> 4;
        if ((h[0] & kExHeaderBit) || (h[0] & 0x0F) != kVideoCodecAvc || frameType == 0 ||
            frameType >= kFrameGeneratedKey || m_videoEnded)
            throw NotRemuxable{};
        const uint32_t size = tag.dataSize - kVideoHeader;
        switch (h[1]) {
            case kAvcSequenceHeader:
                return setVideoConfiguration(configuration(tag, kVideoHeader));
            case kAvcNalu:
                break;
            case kAvcEndOfSequence:
                m_videoEnded = true;
                return;
            default:
                throw NotRemuxable{};
        }
        const int32_t composition = signed24(h + 2);
        if (!m_video || size == 0 || composition < 0)
            throw NotRemuxable{};
        const uint64_t factor = FlvRemuxScan::kVideoTimescale / 1000;
        const uint64_t decode = advance(*m_video, m_lastVideoMs, tag.timestamp) * factor;
        add(*m_video, {payloadOffset(tag, kVideoHeader), size, decode,
                       uint32_t(composition) * uint32_t(factor), frameType == kFrameKey});
    }

    void addAudio(const FlvTag& tag) {
        if (tag.dataSize < kAudioHeader)
            throw NotRemuxable{};
        const uint8_t* h = tag.head.data();
        if (h[0] >> 4 != kAudioFormatAac)
            throw NotRemuxable{};
        const uint32_t size = tag.dataSize - kAudioHeader;
        if (h[1] == kAvcSequenceHeader)  // the AAC sequence header has the same number
            return setAudioConfiguration(configuration(tag, kAudioHeader));
        if (h[1] != kAacRaw || !m_audio || size == 0)
            throw NotRemuxable{};
        const uint64_t elapsedMs = advance(*m_audio, m_lastAudioMs, tag.timestamp);
        add(*m_audio,
            {payloadOffset(tag, kAudioHeader), size, audioDecodeTime(elapsedMs), 0, true});
    }

    // AAC frames are 1024 samples long; the FLV's millisecond clock only rounds that. A
    // timestamp within that rounding of the next frame's exact time means the frames follow
    // without a gap, anything else is a real jump and is kept.
    uint64_t audioDecodeTime(uint64_t elapsedMs) const {
        const RemuxTrack& audio = *m_audio;
        const uint64_t rate = audio.sampleRate;
        const uint64_t measured = (elapsedMs * rate + 500) / 1000;
        if (audio.samples.empty())
            return 0;
        const uint64_t expected = audio.samples.back().decodeTime + FlvRemuxScan::kAacFrameSamples;
        const uint64_t tolerance = rate / 1000 + 1;
        const uint64_t gap = measured > expected ? measured - expected : expected - measured;
        const uint64_t chosen = gap <= tolerance ? expected : measured;
        if (chosen <= audio.samples.back().decodeTime)
            throw NotRemuxable{};
        return chosen;
    }

    // Milliseconds since the track's first sample; the clock must move forward.
    static uint64_t advance(RemuxTrack& track, uint32_t& lastMs, uint32_t timestamp) {
        if (track.samples.empty())
            track.startMs = timestamp;
        else if (timestamp <= lastMs)
            throw NotRemuxable{};
        lastMs = timestamp;
        return timestamp - track.startMs;
    }

    // Sample durations are 32-bit in the MP4.
    void add(RemuxTrack& track, const RemuxSample& sample) {
        if (!track.samples.empty() &&
            sample.decodeTime - track.samples.back().decodeTime > UINT32_MAX)
            throw NotRemuxable{};
        if (m_firstPayload == 0)
            m_firstPayload = sample.offset;
        m_payloadEnd = sample.offset + sample.size;
        track.samples.push_back(sample);
    }

    static uint64_t payloadOffset(const FlvTag& tag, size_t header) {
        return tag.offset + kTagHeaderSize + header;
    }

    std::vector<uint8_t> configuration(const FlvTag& tag, size_t header) {
        const auto bytes = m_reader.bytesAt(payloadOffset(tag, header), tag.dataSize - header);
        return {bytes.begin(), bytes.end()};
    }

    void setVideoConfiguration(std::vector<uint8_t> record) {
        if (m_video || !AvcConfig::isPlain420(record))
            throw NotRemuxable{};
        const auto size = VideoDimensions::fromAvcConfiguration(record);
        if (!size || size->width == 0 || size->height == 0 || size->width > 0xFFFF ||
            size->height > 0xFFFF)
            throw NotRemuxable{};
        m_video.emplace();
        m_video->kind = RemuxTrack::Kind::Video;
        m_video->timescale = FlvRemuxScan::kVideoTimescale;
        m_video->configuration = std::move(record);
        m_video->width = size->width;
        m_video->height = size->height;
    }

    void setAudioConfiguration(std::vector<uint8_t> config) {
        const auto aac = AacConfig::parse(config);
        if (m_audio || !aac)
            throw NotRemuxable{};
        m_audio.emplace();
        m_audio->kind = RemuxTrack::Kind::Audio;
        m_audio->timescale = aac->sampleRate;
        m_audio->sampleRate = aac->sampleRate;
        m_audio->channels = aac->channels;
        m_audio->configuration = std::move(config);
    }

    RemuxPlan finish() {
        // A sequence header with nothing after it would give an empty track.
        if ((m_video && m_video->samples.empty()) || (m_audio && m_audio->samples.empty()) ||
            (!m_video && !m_audio))
            throw NotRemuxable{};
        RemuxPlan plan;
        plan.video = std::move(m_video);
        plan.audio = std::move(m_audio);
        plan.copyStart = m_firstPayload;
        plan.copyEnd = m_payloadEnd;
        return plan;
    }

    FlvReader m_reader;
    std::optional<RemuxTrack> m_video;
    std::optional<RemuxTrack> m_audio;
    uint32_t m_lastVideoMs = 0;
    uint32_t m_lastAudioMs = 0;
    bool m_videoEnded = false;
    uint64_t m_firstPayload = 0;
    uint64_t m_payloadEnd = 0;
};

}  // namespace

std::optional<RemuxPlan> FlvRemuxScan::plan(ByteSource& source) {
    try {
        return Scan(source).run();
    } catch (const NotRemuxable&) {
        return std::nullopt;
    } catch (const FlvError&) {
        return std::nullopt;
    }
}

FlvRemuxScan::TagCounts FlvRemuxScan::countTags(ByteSource& source, uint64_t window) {
    TagCounts counts;
    const auto header = source.view(0, kFileHeaderSize);
    if (header.size() < kFileHeaderSize || header[0] != 'F' || header[1] != 'L' || header[2] != 'V')
        return counts;
    const uint64_t limit = std::min(window, source.size());
    const uint64_t first = uint64_t(readBe32(header.data() + 5)) + kTagTrailerSize;
    if (first > source.size())
        return counts;
    counts.end = first;
    for (uint64_t at = first;;) {
        const auto tag = source.view(at, kTagHeaderSize);
        if (tag.size() < kTagHeaderSize)
            break;
        const uint64_t next = at + kTagHeaderSize + readBe24(tag.data() + 1) + kTagTrailerSize;
        if (next > limit)
            break;
        const uint8_t type = tag[0] & 0x1F;
        if (type == kTagVideo || type == kTagAudio) {
            const uint32_t ms = tagTime(tag.data());
            if (counts.video + counts.audio == 0)
                counts.firstMs = ms;
            counts.lastMs = ms;
            (type == kTagVideo ? counts.video : counts.audio) += 1;
        }
        counts.end = at = next;
    }
    return counts;
}

std::optional<uint32_t> FlvRemuxScan::lastTagTime(ByteSource& source) {
    const uint64_t size = source.size();
    if (size < kFileHeaderSize + kTagHeaderSize + kTagTrailerSize)
        return std::nullopt;
    const auto trailer = source.view(size - kTagTrailerSize, kTagTrailerSize);
    if (trailer.size() < kTagTrailerSize)
        return std::nullopt;
    const uint64_t tagSize = readBe32(trailer.data());
    if (tagSize < kTagHeaderSize || tagSize > size - kTagTrailerSize - kFileHeaderSize)
        return std::nullopt;
    const auto tag = source.view(size - kTagTrailerSize - tagSize, kTagHeaderSize);
    if (tag.size() < kTagHeaderSize || kTagHeaderSize + readBe24(tag.data() + 1) != tagSize)
        return std::nullopt;
    return tagTime(tag.data());
}
