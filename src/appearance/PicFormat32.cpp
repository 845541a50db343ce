#include "appearance/PicFormat32.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "platform/AppError.h"
#include "platform/RegularFile.h"

namespace {

// Encoded in memory first (a few MB at most), then replaced whole: a full disk or a target that is
// not a regular file leaves the earlier picture as it was. The pictures are work files made again
// from their sources, so they are not flushed to the disk each (a playlist makes hundreds).
void write(const QImage& image, const QString& path, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        throw AppError::naming(AppError::PathFileAccess, path, AppError::Operation::Writing,
                               writer.error() == QImageWriter::UnknownError
                                   ? QStringLiteral("The picture cannot be encoded")
                                   : writer.errorString());
    RegularFile::replace(path, bytes, RegularFile::Sync::Skip);
}

}  // namespace

void PicFormat32::saveBitmap(const QImage& image, const QString& path) {
    write(image, path, "bmp", -1);
}

void PicFormat32::convert(const QString& bitmapPath, const QString& jpegPath, int quality) {
    if (quality < 0 || quality > 100)
        throw AppError(AppError::InvalidCall, QString::number(quality));
    const RegularFile file = RegularFile::openForReading(bitmapPath);
    const std::unique_ptr<QFile> device = file.device();
    QImageReader reader(device.get(), "bmp");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull())
        throw AppError::naming(AppError::PathFileAccess, bitmapPath, AppError::Operation::Reading,
                               reader.error() == QImageReader::UnknownError
                                   ? QStringLiteral("The file holds no bitmap picture")
                                   : reader.errorString());
    write(image, jpegPath, "jpeg", quality);
}
