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
        throw AppError::naming(AppError::PathFileAccess, path, AppError::Operation::Writing);
    QImageWriter writer(&file, format);
    writer.setQuality(quality);
    if (!writer.write(image) || !file.commit())
        throw AppError::naming(AppError::PathFileAccess, path, AppError::Operation::Writing);
}

}  // namespace

void PicFormat32::saveBitmap(const QImage& image, const QString& path) {
    write(image, path, "bmp", -1);
}

void PicFormat32::convert(const QString& bitmapPath, const QString& jpegPath, int quality) {
    if (quality < 0 || quality > 100)
        throw AppError(AppError::InvalidCall, QString::number(quality));
    if (!QFileInfo(bitmapPath).isFile())
        throw AppError::naming(AppError::FileNotFound, bitmapPath, AppError::Operation::Reading);
    QImageReader reader(bitmapPath, "bmp");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull())
        throw AppError::naming(AppError::PathFileAccess, bitmapPath, AppError::Operation::Reading);
    write(image, jpegPath, "jpeg", quality);
}
