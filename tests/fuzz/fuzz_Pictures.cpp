// Intro and outro images and playlist thumbnails are whatever files the user picks, often
// downloaded: any bytes must give a fitted picture or a reported error, never a crash, and never
// more memory than the box they are drawn into needs.
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "appearance/PictureFitter.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.jpg"));
    TextFile::writeBytes(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const QSize box : {QSize(640, 360), QSize(80, 58)}) {
        try {
            const QImage fitted = PictureFitter::fitJpegFile(path, box);
            if (fitted.size() != box)
                __builtin_trap();
        } catch (const AppError&) {
        }
    }
    return 0;
}
