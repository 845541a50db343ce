#include "appearance/PictureFitter.h"

#include <QImageReader>
#include <QPainter>
#include <QtMath>

#include "platform/AppError.h"
#include "platform/RegularFile.h"

namespace {

// The reader's word for what it found, where it has one ("Unable to read image data"); its
// "Unknown error" says nothing, so the cause is then told in our own words.
[[noreturn]] void notReadable(const QString& path, const QImageReader& reader,
                              const QString& otherwise) {
    const QString reason =
        reader.error() == QImageReader::UnknownError ? otherwise : reader.errorString();
    throw AppError::naming(AppError::PathFileAccess, path, AppError::Operation::Reading, reason);
}

// Only JPEG content is accepted, whatever the file's name says: the player is given JPEGs only.
// The reader reads from `device`, the opened regular file.
void openJpeg(QImageReader& reader, QIODevice* device, const QString& path) {
    reader.setDevice(device);
    reader.setFormat("jpeg");
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead() || !reader.size().isValid())
        notReadable(path, reader, QStringLiteral("The file holds no JPEG picture"));
}

}  // namespace

QRect PictureFitter::drawnRect(QSize picture, QSize box) {
    if (picture.isEmpty() || box.isEmpty())
        return {};
    const double boxW = box.width(), boxH = box.height();
    double w = picture.width(), h = picture.height();
    if (w > boxW) {
        h = boxW / w * h;
        w = boxW;
    }
    if (h > boxH) {
        w = boxH / h * w;
        h = boxH;
    }
    // Whole pixels, so the picture's edges are sharp and at least one pixel is drawn.
    const int width = qMax(1, qRound(w));
    const int height = qMax(1, qRound(h));
    return {(box.width() - width) / 2, (box.height() - height) / 2, width, height};
}

QImage PictureFitter::blackBox(QSize box) {
    QImage canvas(box, QImage::Format_RGB32);
    if (canvas.isNull())
        throw AppError(AppError::Overflow,
                       QStringLiteral("%1x%2").arg(box.width()).arg(box.height()));
    canvas.fill(Qt::black);
    return canvas;
}

QImage PictureFitter::fit(const QImage& picture, QSize box, QSize natural) {
    QImage canvas = blackBox(box);
    const QRect rect = drawnRect(natural.isValid() ? natural : picture.size(), box);
    if (rect.isEmpty() || picture.isNull())
        return canvas;
    QPainter painter(&canvas);
    painter.drawImage(rect.topLeft(), picture.size() == rect.size()
                                          ? picture
                                          : picture.scaled(rect.size(), Qt::IgnoreAspectRatio,
                                                           Qt::SmoothTransformation));
    return canvas;
}

QImage PictureFitter::loadJpeg(const QString& path, QSize bound, QSize* natural) {
    const RegularFile file = RegularFile::openForReading(path);
    const std::unique_ptr<QFile> device = file.device();
    QImageReader reader;
    openJpeg(reader, device.get(), path);
    const QSize size = reader.size();
    if (natural != nullptr)
        *natural = size;
    const QRect rect = drawnRect(size, bound);
    if (!rect.isEmpty() && rect.size() != size) {
        reader.setScaledSize(rect.size());
        reader.setQuality(100);  // smooth scaling after the decoder's own reduction
    }
    QImage picture = reader.read();
    if (picture.isNull())
        notReadable(path, reader, QStringLiteral("The JPEG picture cannot be decoded"));
    return picture;
}

QImage PictureFitter::fitJpegFile(const QString& path, QSize box) {
    QSize natural;
    const QImage picture = loadJpeg(path, box, &natural);
    return fit(picture, box, natural);
}
