// Made-up FLV files for the injector's tests, assembled byte by byte so the tests do not depend on
// the code under test to produce their input.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

// GCC 12 at -O2 and above reports writes out of bounds inside std::vector's growth when a small
// vector whose size it can see (an initializer list, a resize) grows here: its range analysis
// follows the old capacity into the reallocated copy, a known false positive of GCC 12. The vectors
// are right; only this header, and only for GCC, is exempt.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#pragma GCC diagnostic ignored "-Wstringop-overread"
#endif

class FlvBuilder {
  public:
    using Bytes = std::vector<uint8_t>;

    explicit FlvBuilder(uint8_t flags = 5, uint32_t dataOffset = 9) {
        bytes_ = {'F', 'L', 'V', 1, flags};
        be32(bytes_, dataOffset);
        bytes_.resize(dataOffset, 0);
        be32(bytes_, 0);
    }

    // Appends one tag; returns its offset. A wrong trailer can be asked for.
    size_t tag(uint8_t type, uint32_t timestamp, const Bytes& payload, int trailerError = 0) {
        const size_t offset = bytes_.size();
        bytes_.push_back(type);
        be24(bytes_, uint32_t(payload.size()));
        be24(bytes_, timestamp & 0xFFFFFF);
        bytes_.push_back(uint8_t(timestamp >> 24));
        be24(bytes_, 0);
        bytes_.insert(bytes_.end(), payload.begin(), payload.end());
        be32(bytes_, uint32_t(11 + payload.size() + trailerError));
        return offset;
    }
    // H.263 frame of 320x240 (picture size code 5): keyframe or inter frame.
    size_t h263(uint32_t timestamp, bool key, size_t extra = 20) {
        Bytes p = {uint8_t((key ? 0x10 : 0x20) | 2), 0x00, 0x00, 0x84, 0x02, 0x80};
        p.resize(p.size() + extra, 0x55);
        return tag(9, timestamp, p);
    }
    size_t avc(uint32_t timestamp, uint8_t frameType, uint8_t packetType, const Bytes& body = {}) {
        Bytes p = {uint8_t(frameType << 4 | 7), packetType, 0, 0, 0};
        p.insert(p.end(), body.begin(), body.end());
        return tag(9, timestamp, p);
    }
    // MP3, 44.1 kHz, 16 bit, stereo.
    size_t mp3(uint32_t timestamp, size_t size = 100) {
        Bytes p = {0x2F};
        p.resize(size, 0xAA);
        return tag(8, timestamp, p);
    }
    // A script tag "name" with an ECMA array holding one number property.
    size_t script(uint32_t timestamp, const std::string& name, const std::string& key = "x",
                  double value = 1) {
        Bytes p;
        amfString(p, name);
        p.push_back(8);
        be32(p, 1);
        be16(p, uint16_t(key.size()));
        p.insert(p.end(), key.begin(), key.end());
        amfNumber(p, value);
        p.insert(p.end(), {0, 0, 9});
        return tag(18, timestamp, p);
    }

    Bytes& bytes() { return bytes_; }

    static void be16(Bytes& b, uint32_t v) {
        b.push_back(uint8_t(v >> 8));
        b.push_back(uint8_t(v));
    }
    static void be24(Bytes& b, uint32_t v) {
        b.push_back(uint8_t(v >> 16));
        be16(b, v & 0xFFFF);
    }
    static void be32(Bytes& b, uint32_t v) {
        be16(b, v >> 16);
        be16(b, v & 0xFFFF);
    }
    static void amfString(Bytes& b, const std::string& s) {
        b.push_back(2);
        be16(b, uint16_t(s.size()));
        b.insert(b.end(), s.begin(), s.end());
    }
    static void amfNumber(Bytes& b, double v) {
        const auto bits = std::bit_cast<uint64_t>(v);
        b.push_back(0);
        be32(b, uint32_t(bits >> 32));
        be32(b, uint32_t(bits));
    }

  private:
    Bytes bytes_;
};

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
