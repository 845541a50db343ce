// FLVs for our own remux, assembled tag by tag: H.264 and AAC with payloads of any size.
#pragma once

#include <QByteArray>
#include <algorithm>

#include "../flvmdi/FlvBuilder.h"

namespace {

using Bytes = FlvBuilder::Bytes;

// Sequence parameter sets of 320x240 pictures, written out bit by bit.
const Bytes BaselineSps = {0x67, 0x42, 0xC0, 0x1E, 0xDA, 0x05, 0x07, 0xE4};
const Bytes HighSps = {0x67, 0x64, 0x00, 0x1E, 0xAC, 0xB4, 0x0A, 0x0F, 0xC8};
const Bytes High444Sps = {0x67, 0x64, 0x00, 0x1E, 0x91, 0x96, 0x81, 0x41, 0xF9};
const Bytes Pps = {0x68, 0xCE, 0x38, 0x80};

Bytes avcRecord(const Bytes& sps) {
    Bytes r = {1, sps[1], sps[2], sps[3], 0xFF, 0xE1};
    FlvBuilder::be16(r, uint16_t(sps.size()));
    r.insert(r.end(), sps.begin(), sps.end());
    r.push_back(1);
    FlvBuilder::be16(r, uint16_t(Pps.size()));
    r.insert(r.end(), Pps.begin(), Pps.end());
    return r;
}

// AAC LC, 44.1 kHz, stereo.
const Bytes AacLc = {0x12, 0x10};
// The same with an explicit "no SBR" extension, as FFmpeg's encoder writes it.
const Bytes AacLcNoSbr = {0x12, 0x10, 0x56, 0xE5, 0x00};
// HE-AAC: SBR on top of a 22.05 kHz core.
const Bytes HeAac = {0x2B, 0x92, 0x08, 0x00};

struct Clip {
    FlvBuilder flv;

    void avcHeader(const Bytes& sps = BaselineSps) { flv.avc(0, 1, 0, avcRecord(sps)); }
    // Payloads are made at their full size first: growing a small vector whose size GCC can see
    // draws false out-of-bounds reports from it at -O2.
    void frame(uint32_t ms, bool key = false, int32_t composition = 0, size_t size = 30) {
        Bytes p(5 + size, 0x41);
        p[0] = uint8_t((key ? 0x10 : 0x20) | 7);
        p[1] = 1;
        for (int i = 0; i < 3; ++i)
            p[2 + i] = uint8_t(uint32_t(composition) >> (16 - 8 * i));
        flv.tag(9, ms, p);
    }
    void aacHeader(const Bytes& config = AacLc) {
        Bytes p(2 + config.size(), 0);
        p[0] = 0xAF;
        std::copy(config.begin(), config.end(), p.begin() + 2);
        flv.tag(8, 0, p);
    }
    void aac(uint32_t ms, size_t size = 20) {
        Bytes p(2 + size, 0x21);
        p[0] = 0xAF;
        p[1] = 1;
        flv.tag(8, ms, p);
    }
    // Headers, then frames every 40 ms and sound every 23 ms for about half a second.
    void plain(bool video = true, bool audio = true) {
        if (video)
            avcHeader();
        if (audio)
            aacHeader();
        for (uint32_t i = 0; i < 12; ++i) {
            if (video)
                frame(i * 40, i % 6 == 0);
            if (audio)
                aac(i * 23);
        }
    }
    QByteArray bytes() {
        return QByteArray(reinterpret_cast<const char*>(flv.bytes().data()),
                          qsizetype(flv.bytes().size()));
    }
};

}  // namespace
