#include "ScriptTagBuilder.h"

#include <string>

#include "Amf0.h"
#include "FlvFormat.h"

namespace flvmdi {

namespace {

// Properties are written through this so the ECMA array's count is taken from what was written
// instead of being kept in step by hand.
class PropertyList {
    static constexpr size_t kChunk = 253;  // a short string with its marker and length

  public:
    void number(const char* key, double value) {
        w_.key(key);
        w_.number(value);
        ++count_;
    }
    void boolean(const char* key, bool value) {
        w_.key(key);
        w_.boolean(value);
        ++count_;
    }
    void string(const char* key, const std::string& value) {
        w_.key(key);
        w_.string(value);
        ++count_;
    }
    void numbers(const char* key, const std::vector<double>& values) {
        w_.key(key);
        w_.beginStrictArray(uint32_t(values.size()));
        for (const double v : values)
            w_.number(v);
    }
    // Strings of up to 250 characters: longer ones trip up common demuxers. `extra` is the number
    // of bytes beyond an empty array and must be 0 or at least 3.
    void padding(const char* key, size_t extra) {
        const size_t chunks = (extra + kChunk - 1) / kChunk;
        w_.key(key);
        w_.beginStrictArray(uint32_t(chunks));
        for (size_t i = 0; i < chunks; ++i) {
            const size_t size = extra / chunks + (i < extra % chunks ? 1 : 0);
            w_.string(std::string(size - 3, ' '));
        }
        ++count_;
    }
    void beginObject(const char* key) {
        w_.key(key);
        w_.beginObject();
        ++count_;
    }
    void endObject() { w_.endObject(); }
    uint32_t count() const { return count_; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
    amf0::Writer w_{bytes_};
    uint32_t count_ = 0;
};

void writeVideo(PropertyList& p, const Metadata& m) {
    if (m.dimensions) {
        p.number("width", m.dimensions->width);
        p.number("height", m.dimensions->height);
    }
    p.number("videocodecid", m.videoCodecId);
    p.number("framerate", m.frameRate);
    p.number("videodatarate", m.videoDataRate);
}

void writeAudio(PropertyList& p, const Metadata& m) {
    if (!m.audio)
        return;
    p.number("audiocodecid", m.audio->codec);
    p.number("audiosamplerate", m.audio->sampleRate);
    p.number("audiosamplesize", m.audio->sampleSize);
    p.boolean("stereo", m.audio->stereo);
    p.number("audiodatarate", m.audioDataRate);
}

void writeKeyframes(PropertyList& p, const Metadata& m) {
    p.beginObject("keyframes");
    p.numbers("filepositions", m.keyframePositions);
    p.numbers("times", m.keyframeTimes);
    p.endObject();
}

}  // namespace

std::vector<uint8_t> ScriptTagBuilder::fileHeader(uint8_t flags) {
    return {'F', 'L', 'V', 1, flags, 0, 0, 0, kFileHeaderSize, 0, 0, 0, 0};
}

std::vector<uint8_t> ScriptTagBuilder::onMetaDataPayload(const Metadata& m, size_t paddingLength) {
    PropertyList p;
    p.boolean("hasMetadata", true);
    p.boolean("hasVideo", m.hasVideo);
    p.boolean("hasAudio", m.hasAudio);
    p.number("duration", m.duration);
    p.number("lasttimestamp", m.lastTimestamp);
    p.number("lastkeyframetimestamp", m.lastKeyframeTimestamp);
    p.number("lastkeyframelocation", m.lastKeyframeLocation);
    if (m.hasVideo)
        writeVideo(p, m);
    if (m.hasAudio)
        writeAudio(p, m);
    p.number("filesize", m.fileSize);
    p.number("datasize", m.dataSize);
    p.number("videosize", m.videoSize);
    p.number("audiosize", m.audioSize);
    p.boolean("hasKeyframes", m.hasKeyframes);
    p.boolean("canSeekToEnd", m.canSeekToEnd);
    p.string("metadatacreator", kMetadataCreator);
    if (m.writeKeyframes && m.hasKeyframes)
        writeKeyframes(p, m);
    p.padding(kPaddingKey, std::min(paddingLength, kMaxPadding));

    std::vector<uint8_t> payload;
    amf0::Writer w(payload);
    w.string("onMetaData");
    w.beginEcmaArray(p.count());
    payload.insert(payload.end(), p.bytes().begin(), p.bytes().end());
    w.endObject();
    return payload;
}

std::vector<uint8_t> ScriptTagBuilder::onLastSecondPayload() {
    std::vector<uint8_t> payload;
    amf0::Writer w(payload);
    w.string("onLastSecond");
    w.beginEcmaArray(0);
    w.endObject();
    return payload;
}

std::vector<uint8_t> ScriptTagBuilder::scriptTag(std::span<const uint8_t> payload,
                                                 uint32_t timestamp) {
    std::vector<uint8_t> tag(kTagHeaderSize + payload.size() + kTagTrailerSize);
    tag[0] = kTagScript;
    writeBe24(&tag[1], uint32_t(payload.size()));
    writeBe24(&tag[4], timestamp & 0xFFFFFF);
    tag[7] = uint8_t(timestamp >> 24);
    std::copy(payload.begin(), payload.end(), tag.begin() + kTagHeaderSize);
    writeBe32(&tag[kTagHeaderSize + payload.size()], uint32_t(kTagHeaderSize + payload.size()));
    return tag;
}

}  // namespace flvmdi
