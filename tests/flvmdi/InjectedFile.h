// Test videos written to disk and injected files read back, shared by the injector's tests. An
// injected file is checked for what holds for every one, independently of the injector's code:
// the metadata tag first, all trailers right, each keyframe position on a keyframe of its time.
#pragma once

#include <QFile>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "FlvBuilder.h"
#include "flv/Amf0.h"
#include "flv/FlvReader.h"

namespace injected {

using Bytes = std::vector<uint8_t>;

inline Bytes readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = f.readAll();
    return Bytes(data.begin(), data.end());
}

inline void writeFile(const QString& path, const Bytes& bytes,
                      QIODevice::OpenMode mode = QIODevice::WriteOnly) {
    QFile f(path);
    QVERIFY(f.open(mode));
    QCOMPARE(f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())),
             qint64(bytes.size()));
}

struct Injected {
    flvmdi::amf0::Value meta;
    std::vector<flvmdi::FlvTag> tags;  // heads not kept
    std::vector<std::string> scriptNames;
};

inline void checkIndex(const Injected& out, const Bytes& bytes) {
    const auto* keyframes = out.meta.find("keyframes");
    if (!keyframes)
        return;
    const auto& positions = keyframes->find("filepositions")->items;
    const auto& times = keyframes->find("times")->items;
    if (positions.size() != times.size())
        throw std::runtime_error("index arrays differ in length");
    for (size_t i = 0; i < positions.size(); ++i) {
        const auto offset = uint64_t(positions[i].number);
        const auto it = std::find_if(out.tags.begin(), out.tags.end(),
                                     [&](const flvmdi::FlvTag& t) { return t.offset == offset; });
        if (it == out.tags.end() || it->type != flvmdi::kTagVideo || bytes[offset + 11] >> 4 != 1 ||
            it->timestamp != uint32_t(std::lround(times[i].number * 1000)))
            throw std::runtime_error("index entry " + std::to_string(i) + " is no keyframe");
    }
}

// Throws std::runtime_error (or the reader's FlvError) for a file that is no valid injection.
inline Injected readInjected(const Bytes& bytes) {
    using namespace flvmdi;
    Injected out;
    MemorySource source(bytes);
    FlvReader reader(source);
    reader.readHeader();
    while (auto tag = reader.next()) {
        if (!tag->trailerIsRight())
            throw std::runtime_error("wrong trailer");
        if (tag->type == kTagScript) {
            amf0::Reader amf(reader.bytesAt(tag->offset + 11, tag->dataSize));
            out.scriptNames.push_back(amf.readValue().text);
            if (out.tags.empty())
                out.meta = amf.readValue();
        }
        tag->head = {};
        out.tags.push_back(*tag);
    }
    if (out.scriptNames.empty() || out.scriptNames[0] != "onMetaData" || out.tags[0].offset != 13)
        throw std::runtime_error("onMetaData is not the first tag");
    checkIndex(out, bytes);
    return out;
}

// The raw bytes of every tag an injection must keep: all but onMetaData and onLastSecond.
inline Bytes keptTags(const Bytes& bytes) {
    using namespace flvmdi;
    MemorySource source(bytes);
    FlvReader reader(source);
    reader.readHeader();
    Bytes kept;
    while (const auto tag = reader.next()) {
        if (tag->type == kTagScript) {
            const std::string name = amf0::Reader(tag->head).readValue().text;
            if (name == "onMetaData" || name == "onLastSecond")
                continue;
        }
        const auto raw = reader.bytesAt(tag->offset, size_t(tag->totalSize()));
        kept.insert(kept.end(), raw.begin(), raw.end());
    }
    return kept;
}

// An H.263 video of `frames` frames at 10 per second, a keyframe every `keyEvery`; `extra` bytes
// of picture data make each one a different length from other test videos.
inline Bytes plainVideo(uint32_t frames, uint32_t keyEvery = 10, size_t extra = 20) {
    FlvBuilder b;
    for (uint32_t i = 0; i < frames; ++i)
        b.h263(i * 100, i % keyEvery == 0, extra);
    return b.bytes();
}

}  // namespace injected
