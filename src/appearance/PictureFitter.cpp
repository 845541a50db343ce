#include "appearance/PictureFitter.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QtMath>

#include "platform/AppError.h"

namespace {

// Only JPEG content is accepted, whatever the file's name says: the player is given JPEGs only.
void openJpeg(QImageReader& reader, const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        throw AppError::naming(AppError::FileNotFound, path, AppError::Operation::Reading);
    reader.setFileName(path);
    reader.setFormat("jpeg");
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead() || !reader.size().isValid())
        throw AppError::naming(AppError::PathFileAccess, path, AppError::Operation::Reading);
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
    QImageReader reader;
    openJpeg(reader, path);
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
        throw AppError::naming(AppError::PathFileAccess, path, AppError::Operation::Reading);
    return picture;
}

QImage PictureFitter::fitJpegFile(const QString& path, QSize box) {
    QSize natural;
    const QImage picture = loadJpeg(path, box, &natural);
    return fit(picture, box, natural);
}
