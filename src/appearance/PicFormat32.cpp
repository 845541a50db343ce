#include "appearance/PicFormat32.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include "platform/AppError.h"

namespace {

void write(const QImage& image, const QString& path, const char* format, int quality) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(AppError::PathFileAccess, path);
    QImageWriter writer(&file, format);
    writer.setQuality(quality);
    if (!writer.write(image) || !file.commit())
        throw AppError(AppError::PathFileAccess, path);
}

}  // namespace

void PicFormat32::saveBitmap(const QImage& image, const QString& path) {
    write(image, path, "bmp", -1);
}

void PicFormat32::convert(const QString& bitmapPath, const QString& jpegPath, int quality) {
    if (quality < 0 || quality > 100)
        throw AppError(AppError::InvalidCall, QString::number(quality));
    if (!QFileInfo(bitmapPath).isFile())
        throw AppError(AppError::FileNotFound, bitmapPath);
    QImageReader reader(bitmapPath, "bmp");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull())
        throw AppError(AppError::PathFileAccess, bitmapPath);
    write(image, jpegPath, "jpeg", quality);
}
