#include "appearance/PicFormat32.h"

#include <sys/stat.h>
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include "platform/AppError.h"
#include "platform/FileOps.h"
#include "platform/RegularFile.h"

namespace {

// Encoded in memory first (a few MB at most), then written beside its name and renamed over it: a
// full disk leaves the earlier picture as it was, and a link left in the scratch folder under the
// name is replaced, never written through. The pictures are work files made again from their
// sources, so they are not flushed to the disk each (a playlist makes hundreds).
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
    // A link is replaced; anything else that is no regular file (a device node, a FIFO) is left.
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISLNK(info.st_mode) &&
        !S_ISREG(info.st_mode))
        throw AppError::naming(AppError::PathFileAccess, path, AppError::Operation::Writing,
                               RegularFile::refusal(info.st_mode));
    FileOps::writeFile(path, bytes);
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
