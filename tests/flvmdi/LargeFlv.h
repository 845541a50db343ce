// A long FLV of H.263 and MP3 frames (about 32 KiB a frame), written to disk in 4 MiB pieces so
// the test never holds the whole file in memory.
#pragma once

#include "FlvBuilder.h"

#include <QFile>
#include <QString>
#include <QTest>

#include <cstdint>

inline void writeLargeFlv(const QString& path, uint32_t frames, bool withMetadata) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    FlvBuilder b;
    if (withMetadata)
        b.script(0, "onMetaData", "duration", 3);
    for (uint32_t i = 0; i < frames; ++i) {
        b.h263(i * 40, i % 50 == 0, 32 * 1024 + (i * 7919) % 1024);
        b.mp3(i * 40 + 3, 400);
        if (b.bytes().size() > (4 << 20)) {
            f.write(reinterpret_cast<const char*>(b.bytes().data()), qint64(b.bytes().size()));
            b.bytes().clear();
        }
    }
    f.write(reinterpret_cast<const char*>(b.bytes().data()), qint64(b.bytes().size()));
}
