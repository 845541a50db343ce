// Caption files come from any subtitle tool or download: any bytes must give WebVTT that reads
// back as it is, or a refusal with a message, never a crash.
#include <cstddef>
#include <cstdint>

#include "media/CaptionFile.h"
#include "media/CaptionFileError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const char* name : {"fuzz.vtt", "fuzz.srt"}) {
        QByteArray vtt;
        try {
            vtt = CaptionFile::toWebVtt(bytes, QString::fromLatin1(name));
        } catch (const CaptionFileError&) {
            continue;
        }
        // What the converter writes is WebVTT it accepts again unchanged.
        try {
            if (CaptionFile::toWebVtt(vtt, QStringLiteral("again.vtt")) != vtt)
                __builtin_trap();
        } catch (const CaptionFileError&) {
            __builtin_trap();
        }
    }
    return 0;
}
