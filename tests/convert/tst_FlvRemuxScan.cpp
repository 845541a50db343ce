#include <QtTest>

#include "RemuxClip.h"
#include "convert/FlvRemuxScan.h"
#include "flv/ByteSource.h"

// Which FLVs our own remux takes on, and the sample tables it plans for them, on FLVs assembled
// byte by byte: everything it cannot copy exactly must be left to the general path.
class FlvRemuxScanTest : public QObject {
    Q_OBJECT

  private slots:
    void takesOnlyWhatItCopiesExactly_data();
    void takesOnlyWhatItCopiesExactly();
    void videoTimesAndKeys();
    void audioFramesFollowTheirClock_data();
    void audioFramesFollowTheirClock();
    void copiedRangeSpansThePayloads();
};

namespace {

std::optional<RemuxPlan> planOf(const QByteArray& flv) {
    flvmdi::MemorySource source(
        {reinterpret_cast<const uint8_t*>(flv.constData()), size_t(flv.size())});
    return FlvRemuxScan::plan(source);
}

}  // namespace

void FlvRemuxScanTest::takesOnlyWhatItCopiesExactly_data() {
    QTest::addColumn<QByteArray>("flv");
    QTest::addColumn<int>("videoSamples");  // -1: no plan at all
    QTest::addColumn<int>("audioSamples");

    auto row = [](const char* name, int video, int audio, auto build) {
        Clip clip;
        build(clip);
        QTest::newRow(name) << clip.bytes() << video << audio;
    };
    row("H.264 and AAC", 12, 12, [](Clip& c) { c.plain(); });
    row("H.264 only", 12, 0, [](Clip& c) { c.plain(true, false); });
    row("AAC only", 0, 12, [](Clip& c) { c.plain(false, true); });
    row("High profile 4:2:0", 1, 0, [](Clip& c) {
        c.avcHeader(HighSps);
        c.frame(0, true);
    });
    row("AAC saying no SBR", 0, 1, [](Clip& c) {
        c.aacHeader(AacLcNoSbr);
        c.aac(0);
    });
    row("script tag between frames", 13, 12, [](Clip& c) {
        c.plain();
        c.flv.script(500, "onCuePoint");
        c.frame(500);
    });
    row("end of sequence last", 12, 12, [](Clip& c) {
        c.plain();
        c.flv.avc(480, 1, 2);
    });
    // Each of these is left to FFmpeg.
    row("H.263 picture", -1, 0, [](Clip& c) { c.flv.h263(0, true); });
    row("MP3 sound", -1, 0, [](Clip& c) {
        c.plain(true, false);
        c.flv.mp3(0);
    });
    row("frame before any sequence header", -1, 0, [](Clip& c) {
        c.frame(0, true);
        c.plain();
    });
    row("sound before its sequence header", -1, 0, [](Clip& c) {
        c.aac(0);
        c.plain();
    });
    row("second picture sequence header", -1, 0, [](Clip& c) {
        c.plain();
        c.avcHeader();
        c.frame(500, true);
    });
    row("second sound sequence header", -1, 0, [](Clip& c) {
        c.plain();
        c.aacHeader();
    });
    row("picture clock going back", -1, 0, [](Clip& c) {
        c.plain();
        c.frame(100);
    });
    row("two frames at the same time", -1, 0, [](Clip& c) {
        c.plain();
        c.frame(440);
    });
    row("sound clock going back", -1, 0, [](Clip& c) {
        c.plain();
        c.aac(20);
    });
    row("negative composition time", -1, 0, [](Clip& c) {
        c.avcHeader();
        c.frame(0, true, -40);
    });
    row("enhanced FLV picture", -1, 0, [](Clip& c) {
        c.plain();
        c.flv.tag(9, 600, {0x90, 'h', 'v', 'c', '1', 0, 0, 0});
    });
    row("encrypted tag", -1, 0, [](Clip& c) {
        c.plain();
        c.flv.tag(0x20 | 9, 600, {0x27, 1, 0, 0, 0, 1, 2, 3});
    });
    row("wrong tag trailer", -1, 0, [](Clip& c) {
        c.plain();
        c.flv.tag(9, 600, {0x27, 1, 0, 0, 0, 1, 2, 3}, 1);
    });
    row("cut off in the last tag", -1, 0, [](Clip& c) {
        c.plain();
        c.flv.bytes().erase(c.flv.bytes().end() - 10, c.flv.bytes().end());
    });
    row("empty frame", -1, 0, [](Clip& c) {
        c.plain();
        c.frame(600, false, 0, 0);
    });
    row("command frame", -1, 0, [](Clip& c) {
        c.plain();
        c.flv.tag(9, 600, {0x57, 1, 0, 0, 0, 1});
    });
    row("frame after the end of sequence", -1, 0, [](Clip& c) {
        c.plain();
        c.flv.avc(480, 1, 2);
        c.frame(520);
    });
    row("HE-AAC", -1, 0, [](Clip& c) {
        c.aacHeader(HeAac);
        c.aac(0);
    });
    // AudioSpecificConfigs no MP4 sample description may carry as they are.
    const struct {
        const char* name;
        Bytes config;
    } unusableSound[] = {{"AAC object type 0", {0x02, 0x10}},
                         {"AAC rate index 13", {0x16, 0x90}},
                         {"AAC rate index 15, explicit rate", {0x17, 0x80, 0x00, 0xAC, 0x44, 0x10}},
                         {"AAC without channels or program config", {0x12, 0x00}},
                         {"AAC configuration of one byte", {0x12}},
                         {"AAC configuration empty", {}},
                         {"AAC configuration, then garbage", {0x12, 0x10, 0xDE, 0xAD, 0xBE}}};
    for (const auto& [name, config] : unusableSound) {
        row(name, -1, 0, [&config = config](Clip& c) {
            c.aacHeader(config);
            c.aac(0);
        });
    }
    row("4:4:4 pictures", -1, 0, [](Clip& c) {
        c.avcHeader(High444Sps);
        c.frame(0, true);
    });
    row("sequence headers only", -1, 0, [](Clip& c) {
        c.avcHeader();
        c.aacHeader();
    });
    row("no tags", -1, 0, [](Clip&) {});
    QTest::newRow("not an FLV") << QByteArray("<html>not a video</html>") << -1 << 0;
}

void FlvRemuxScanTest::takesOnlyWhatItCopiesExactly() {
    QFETCH(QByteArray, flv);
    QFETCH(int, videoSamples);
    QFETCH(int, audioSamples);

    const auto plan = planOf(flv);

    QCOMPARE(plan.has_value(), videoSamples >= 0);
    if (!plan)
        return;
    QCOMPARE(plan->video ? int(plan->video->samples.size()) : 0, videoSamples);
    QCOMPARE(plan->audio ? int(plan->audio->samples.size()) : 0, audioSamples);
    if (plan->video) {
        QCOMPARE(plan->video->width, 320u);
        QCOMPARE(plan->video->height, 240u);
    }
    if (plan->audio) {
        QCOMPARE(plan->audio->sampleRate, 44100u);
        QCOMPARE(plan->audio->channels, 2u);
    }
}

void FlvRemuxScanTest::videoTimesAndKeys() {
    Clip clip;
    clip.avcHeader();
    // Decode order I P B B at 25 frames a second, shown as I B B P.
    clip.frame(1000, true, 40);
    clip.frame(1040, false, 120);
    clip.frame(1080, false, 0);
    clip.frame(1120, false, 0);

    const auto plan = planOf(clip.bytes());

    QVERIFY(plan && plan->video);
    const RemuxTrack& video = *plan->video;
    QCOMPARE(video.timescale, 16000u);
    QCOMPARE(video.startMs, 1000u);
    const uint64_t decode[] = {0, 640, 1280, 1920};
    const uint32_t composition[] = {640, 1920, 0, 0};
    for (size_t i = 0; i < 4; ++i) {
        QCOMPARE(video.samples[i].decodeTime, decode[i]);
        QCOMPARE(video.samples[i].compositionOffset, composition[i]);
        QCOMPARE(video.samples[i].key, i == 0);
        QCOMPARE(video.samples[i].size, 30u);
    }
    QCOMPARE(video.firstComposition(), 640u);
    QCOMPARE(video.mediaDuration(), 2560u);
    QCOMPARE(video.presentedDuration(), 2560u);  // 640 .. 3200
}

void FlvRemuxScanTest::audioFramesFollowTheirClock_data() {
    QTest::addColumn<QList<int>>("milliseconds");
    QTest::addColumn<QList<int>>("decodeTimes");  // in samples at 44.1 kHz

    // 1024 samples are 23.22 ms: the FLV's rounding is taken back out.
    QTest::newRow("frames one after the other")
        << QList<int>{0, 23, 46, 70, 93} << QList<int>{0, 1024, 2048, 3072, 4096};
    QTest::newRow("started later") << QList<int>{500, 523, 546} << QList<int>{0, 1024, 2048};
    // 100 ms missing: the clock says so, and the frames after it follow on from there.
    QTest::newRow("a gap") << QList<int>{0, 23, 146, 169} << QList<int>{0, 1024, 6439, 7463};
}

void FlvRemuxScanTest::audioFramesFollowTheirClock() {
    QFETCH(QList<int>, milliseconds);
    QFETCH(QList<int>, decodeTimes);
    Clip clip;
    clip.aacHeader();
    for (const int ms : milliseconds)
        clip.aac(uint32_t(ms));

    const auto plan = planOf(clip.bytes());

    QVERIFY(plan && plan->audio);
    QCOMPARE(plan->audio->timescale, 44100u);
    QList<int> got;
    for (const RemuxSample& sample : plan->audio->samples)
        got.append(int(sample.decodeTime));
    QCOMPARE(got, decodeTimes);
    QCOMPARE(plan->audio->mediaDuration(), uint64_t(decodeTimes.last() + 1024));
}

void FlvRemuxScanTest::copiedRangeSpansThePayloads() {
    Clip clip;
    clip.flv.script(0, "onMetaData");
    clip.avcHeader();
    clip.aacHeader();
    const size_t first = clip.flv.bytes().size();
    clip.frame(0, true, 0, 30);
    clip.aac(0, 20);
    clip.flv.script(10, "onCuePoint");
    const size_t last = clip.flv.bytes().size();
    clip.aac(23, 20);
    clip.flv.script(30, "onCuePoint");

    const auto plan = planOf(clip.bytes());

    QVERIFY(plan);
    QCOMPARE(plan->copyStart, uint64_t(first + 11 + 5));
    QCOMPARE(plan->copyEnd, uint64_t(last + 11 + 2 + 20));
    QCOMPARE(plan->audio->samples[0].offset, uint64_t(first + 11 + 30 + 5 + 4 + 11 + 2));
}

QTEST_GUILESS_MAIN(FlvRemuxScanTest)
#include "tst_FlvRemuxScan.moc"
