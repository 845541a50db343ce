#include <QtTest>

#include "flv/AudioFormat.h"
#include "flv/VideoDimensions.h"

using namespace flvmdi;
using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {

// Bit fields and Exp-Golomb codes, the way an encoder lays out a sequence parameter set.
class Bits {
  public:
    Bits& u(uint32_t value, int n) {
        for (int i = n - 1; i >= 0; --i)
            bits_.push_back(value >> i & 1);
        return *this;
    }
    Bits& ue(uint32_t value) {
        const uint64_t v = uint64_t(value) + 1;
        int length = 0;
        while (v >> (length + 1))
            ++length;
        u(0, length);
        return u(uint32_t(v), length + 1);
    }
    Bits& se(int32_t value) {
        return ue(value > 0 ? uint32_t(2 * value - 1) : uint32_t(-2 * value));
    }
    Bytes bytes() const {
        Bytes out((bits_.size() + 8) / 8, 0);
        for (size_t i = 0; i < bits_.size(); ++i)
            out[i / 8] |= uint8_t(bits_[i] << (7 - i % 8));
        out[bits_.size() / 8] |= uint8_t(0x80 >> (bits_.size() % 8));  // stop bit
        return out;
    }

  private:
    std::vector<int> bits_;
};

struct SpsFields {
    uint32_t profile = 66;
    int chromaFormat = -1;  // -1: not coded (profiles without it)
    bool separatePlanes = false;
    bool scalingLists = false;
    uint32_t pocType = 0;
    uint32_t widthMbs = 0, heightUnits = 0;
    bool frameMbsOnly = true;
    uint32_t crop[4] = {0, 0, 0, 0};  // left, right, top, bottom
};

Bytes sps(const SpsFields& f) {
    Bits b;
    b.u(f.profile, 8).u(0, 8).u(30, 8).ue(0);
    if (f.chromaFormat >= 0) {
        b.ue(uint32_t(f.chromaFormat));
        if (f.chromaFormat == 3)
            b.u(f.separatePlanes, 1);
        b.ue(0).ue(0).u(0, 1).u(f.scalingLists, 1);
        if (f.scalingLists) {
            // list 0 present with a few deltas ending in a zero scale, the others absent
            b.u(1, 1).se(3).se(-5).se(-6);
            for (int i = 1; i < (f.chromaFormat == 3 ? 12 : 8); ++i) {
                b.u(i == 6, 1);
                for (int j = 0; i == 6 && j < 64; ++j)
                    b.se(j == 0 ? 1 : 0);
            }
        }
    }
    b.ue(0).ue(f.pocType);
    if (f.pocType == 0)
        b.ue(2);
    else if (f.pocType == 1)
        b.u(0, 1).se(-1).se(2).ue(3).se(1).se(-1).se(4);
    b.ue(4).u(0, 1).ue(f.widthMbs - 1).ue(f.heightUnits - 1).u(f.frameMbsOnly, 1);
    if (!f.frameMbsOnly)
        b.u(1, 1);
    b.u(1, 1);
    const bool crop = f.crop[0] || f.crop[1] || f.crop[2] || f.crop[3];
    b.u(crop, 1);
    if (crop)
        b.ue(f.crop[0]).ue(f.crop[1]).ue(f.crop[2]).ue(f.crop[3]);
    b.u(0, 1);  // no VUI
    Bytes nal = {0x67};
    const Bytes rbsp = b.bytes();
    nal.insert(nal.end(), rbsp.begin(), rbsp.end());
    return nal;
}

Bytes hex(const char* text) {
    const QByteArray bytes = QByteArray::fromHex(text);
    return Bytes(bytes.begin(), bytes.end());
}

}  // namespace

class VideoDimensionsTest : public QObject {
    Q_OBJECT

  private slots:
    void h263_data();
    void h263();
    void screenVideo();
    void vp6_data();
    void vp6();
    void avcSps_data();
    void avcSps();
    void avcSequenceHeaderTag();
    void emulationPreventionBytesAreDropped();
    void audioFormat_data();
    void audioFormat();
};

void VideoDimensionsTest::h263_data() {
    QTest::addColumn<Bytes>("data");
    QTest::addColumn<int>("width");  // 0: none
    QTest::addColumn<int>("height");
    // start code, version, temporal reference, picture size code
    auto frame = [](uint32_t code) { return Bits().u(1, 17).u(1, 5).u(0x5A, 8).u(code, 3); };
    QTest::newRow("cif") << frame(2).bytes() << 352 << 288;
    QTest::newRow("qcif") << frame(3).bytes() << 176 << 144;
    QTest::newRow("sqcif") << frame(4).bytes() << 128 << 96;
    QTest::newRow("320x240") << frame(5).bytes() << 320 << 240;
    QTest::newRow("160x120") << frame(6).bytes() << 160 << 120;
    QTest::newRow("reserved") << frame(7).bytes() << 0 << 0;
    QTest::newRow("custom 8 bit") << frame(0).u(200, 8).u(150, 8).bytes() << 200 << 150;
    QTest::newRow("custom 16 bit") << frame(1).u(1000, 16).u(700, 16).bytes() << 1000 << 700;
    QTest::newRow("custom zero") << frame(0).u(0, 8).u(150, 8).bytes() << 0 << 0;
    QTest::newRow("bad start code") << Bits().u(3, 17).u(0, 13).u(5, 3).bytes() << 0 << 0;
    QTest::newRow("cut short") << Bytes{0x00, 0x00, 0x84, 0x00} << 0 << 0;
    QTest::newRow("as written by the test builder")
        << Bytes{0x00, 0x00, 0x84, 0x02, 0x80} << 320 << 240;
}

void VideoDimensionsTest::h263() {
    QFETCH(Bytes, data);
    QFETCH(int, width);
    QFETCH(int, height);
    const auto d = VideoDimensions::fromH263(data);
    QCOMPARE(d.has_value(), width != 0);
    if (d)
        QCOMPARE(*d, (Dimensions{uint32_t(width), uint32_t(height)}));
}

void VideoDimensionsTest::screenVideo() {
    // block 64x64 (code 3), image 1024 x 768
    const Bytes data = {0x34, 0x00, 0x33, 0x00, 0x00};
    QCOMPARE(*VideoDimensions::fromScreenVideo(data), (Dimensions{1024, 768}));
    QCOMPARE(*VideoDimensions::fromVideoTag(Bytes{0x13, 0x34, 0x00, 0x33, 0x00}),
             (Dimensions{1024, 768}));
    QCOMPARE(*VideoDimensions::fromVideoTag(Bytes{0x16, 0x10, 0x40, 0x10, 0x30}),
             (Dimensions{64, 48}));  // screen video 2
    QVERIFY(!VideoDimensions::fromScreenVideo(Bytes{0x34, 0x00, 0x33}));
    QVERIFY(!VideoDimensions::fromScreenVideo(Bytes{0x30, 0x00, 0x33, 0x00}));  // zero width
}

void VideoDimensionsTest::vp6_data() {
    QTest::addColumn<Bytes>("tag");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    // codec byte, adjustment (h << 4 | v), key frame header, rows, cols, shown rows, shown cols
    QTest::newRow("filter header") << Bytes{0x14, 0x00, 0x00, 0x46, 15, 20, 15, 20} << 320 << 240;
    QTest::newRow("adjusted") << Bytes{0x14, 0x84, 0x00, 0x46, 15, 20, 15, 20} << 312 << 236;
    QTest::newRow("separated coefficients")
        << Bytes{0x14, 0x00, 0x01, 0x46, 0x12, 0x34, 30, 40, 30, 40} << 640 << 480;
    QTest::newRow("no filter header")
        << Bytes{0x14, 0x00, 0x00, 0x40, 0x00, 0x10, 9, 11, 9, 11} << 176 << 144;
    QTest::newRow("alpha") << Bytes{0x15, 0x00, 0x00, 0x10, 0x00, 0x00, 0x46, 15, 20, 15, 20} << 320
                           << 240;
    QTest::newRow("inter frame") << Bytes{0x24, 0x00, 0x80, 0x46, 15, 20, 15, 20} << 0 << 0;
    QTest::newRow("zero rows") << Bytes{0x14, 0x00, 0x00, 0x46, 0, 20, 0, 20} << 0 << 0;
    QTest::newRow("cut short") << Bytes{0x14, 0x00, 0x00, 0x46, 15} << 0 << 0;
}

void VideoDimensionsTest::vp6() {
    QFETCH(Bytes, tag);
    QFETCH(int, width);
    QFETCH(int, height);
    const auto d = VideoDimensions::fromVideoTag(tag);
    QCOMPARE(d.has_value(), width != 0);
    if (d)
        QCOMPARE(*d, (Dimensions{uint32_t(width), uint32_t(height)}));
}

void VideoDimensionsTest::avcSps_data() {
    QTest::addColumn<Bytes>("nal");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    SpsFields f;
    f.widthMbs = 120;
    f.heightUnits = 68;
    f.crop[3] = 4;
    QTest::newRow("baseline 1080p, crop counts twice per line") << sps(f) << 1920 << 1080;
    f.profile = 100;
    f.chromaFormat = 1;
    f.scalingLists = true;
    f.pocType = 1;
    QTest::newRow("high, scaling lists, poc type 1") << sps(f) << 1920 << 1080;
    f.frameMbsOnly = false;
    f.heightUnits = 34;
    f.crop[3] = 2;
    QTest::newRow("interlaced, crop unit 4") << sps(f) << 1920 << 1080;
    f = {};
    f.profile = 100;
    f.chromaFormat = 0;
    f.widthMbs = 10;
    f.heightUnits = 8;
    f.crop[1] = 3;
    f.crop[2] = 1;
    QTest::newRow("monochrome, crop unit 1") << sps(f) << 157 << 127;
    f.chromaFormat = 3;
    f.profile = 244;
    QTest::newRow("4:4:4, crop unit 1") << sps(f) << 157 << 127;
    f.separatePlanes = true;
    QTest::newRow("4:4:4 separate planes") << sps(f) << 157 << 127;
    f.chromaFormat = 2;
    f.separatePlanes = false;
    f.profile = 122;
    QTest::newRow("4:2:2, crop 2 across, 1 down") << sps(f) << 154 << 127;
    f.crop[0] = 80;
    QTest::newRow("crop wider than picture") << sps(f) << 0 << 0;
    // Written by x264 for 642x362 (4:2:0, 4:4:4) and 720x576 interlaced, 1918x1078 4:2:2; each
    // holds an emulation prevention byte.
    QTest::newRow("x264 642x362") << hex("6764001eacd940a42fe224c044000003000400000300c83c58b658")
                                  << 642 << 362;
    QTest::newRow("x264 642x362 4:4:4")
        << hex("67f4001e919b281485fc7cf80880000003008000001e078b16cb") << 642 << 362;
    QTest::newRow("x264 720x576i")
        << hex("6764001eacd940b424d8088000000300800000190f8a14cb") << 720 << 576;
    QTest::newRow("x264 1918x1078 4:2:2")
        << hex("677a0028bcd940780227a8bc0440000003004000000c83c60c6580") << 1918 << 1078;
    QTest::newRow("not an SPS") << hex("68ebe3c44844") << 0 << 0;
    QTest::newRow("cut short") << hex("6764001eacd9") << 0 << 0;
}

void VideoDimensionsTest::avcSps() {
    QFETCH(Bytes, nal);
    QFETCH(int, width);
    QFETCH(int, height);
    const auto d = VideoDimensions::fromAvcSps(nal);
    QCOMPARE(d.has_value(), width != 0);
    if (d)
        QCOMPARE(*d, (Dimensions{uint32_t(width), uint32_t(height)}));
}

void VideoDimensionsTest::avcSequenceHeaderTag() {
    const Bytes record =
        hex("01f4001effe1001a67f4001e919b281485fc7cf80880000003008000001e078b16cb01000668ebe3c44844"
            "fff8f800");
    Bytes tag = {0x17, 0x00, 0x00, 0x00, 0x00};
    tag.insert(tag.end(), record.begin(), record.end());
    QCOMPARE(*VideoDimensions::fromVideoTag(tag), (Dimensions{642, 362}));
    tag[1] = 1;  // a picture, not the sequence header
    QVERIFY(!VideoDimensions::fromVideoTag(tag));
    tag[1] = 0;
    tag[5 + 5] = 0xE0;  // no sequence parameter set
    QVERIFY(!VideoDimensions::fromVideoTag(tag));
    QVERIFY(!VideoDimensions::fromAvcConfiguration(Bytes(record.begin(), record.begin() + 20)));
}

void VideoDimensionsTest::emulationPreventionBytesAreDropped() {
    QCOMPARE(VideoDimensions::withoutEmulationPrevention(hex("000003010000030000000303")),
             hex("000001000000000003"));
    QCOMPARE(VideoDimensions::withoutEmulationPrevention(hex("0003000103")), hex("0003000103"));
}

void VideoDimensionsTest::audioFormat_data() {
    QTest::addColumn<Bytes>("tag");
    QTest::addColumn<int>("codec");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("stereo");
    QTest::newRow("mp3 44.1 16 stereo") << Bytes{0x2F} << 2 << 44100 << 16 << true;
    QTest::newRow("pcm 5.5 8 mono") << Bytes{0x00} << 0 << 5512 << 8 << false;
    QTest::newRow("adpcm 22 16 mono") << Bytes{0x1A} << 1 << 22050 << 16 << false;
    QTest::newRow("nellymoser 16k") << Bytes{0x42} << 4 << 16000 << 16 << false;
    QTest::newRow("nellymoser 8k") << Bytes{0x52} << 5 << 8000 << 16 << false;
    QTest::newRow("speex") << Bytes{0xB2} << 11 << 16000 << 16 << false;
    QTest::newRow("mp3 8k") << Bytes{0xE2} << 14 << 8000 << 16 << false;
    // AAC: the flags always say 44.1 kHz stereo; the configuration says 48 kHz mono (0x1188).
    QTest::newRow("aac configuration")
        << Bytes{0xAF, 0x00, 0x11, 0x88} << 10 << 48000 << 16 << false;
    QTest::newRow("aac 22.05 stereo") << Bytes{0xAF, 0x00, 0x13, 0x90} << 10 << 22050 << 16 << true;
    QTest::newRow("aac explicit rate")
        << Bytes{0xAF, 0x00, 0x17, 0x80, 0x17, 0x70, 0x10} << 10 << 12000 << 16 << true;
    QTest::newRow("aac raw frame") << Bytes{0xAF, 0x01, 0x21} << 10 << 44100 << 16 << true;
}

void VideoDimensionsTest::audioFormat() {
    QFETCH(Bytes, tag);
    QFETCH(int, codec);
    QFETCH(int, rate);
    QFETCH(int, bits);
    QFETCH(bool, stereo);
    const auto f = AudioFormat::fromAudioTag(tag);
    QVERIFY(f);
    QCOMPARE(int(f->codec), codec);
    QCOMPARE(int(f->sampleRate), rate);
    QCOMPARE(int(f->sampleSize), bits);
    QCOMPARE(f->stereo, stereo);
}

QTEST_GUILESS_MAIN(VideoDimensionsTest)
#include "tst_VideoDimensions.moc"
