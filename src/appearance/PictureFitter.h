#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

// Draws a picture into a box of the player's or the preview's size: never enlarged, aspect kept,
// centred, the rest of the box black. The intro and outro images and the playlist thumbnails all
// go through here, so the page shows every picture the same way.
class PictureFitter {
  public:
    // Where a picture of natural size `picture` lands in a box of size `box`.
    static QRect drawnRect(QSize picture, QSize box);

    // A `box`-sized black image with `picture` drawn into it. `natural` is the size the picture
    // had before it was decoded smaller (see loadJpeg); the drawn place follows from it.
    static QImage fit(const QImage& picture, QSize box, QSize natural = {});

    // The JPEG file at `path`, decoded no larger than it is drawn into `bound`: a camera-sized
    // picture costs little more than a small one. Its natural size goes to `natural`. Error 53
    // when the file is missing, 75 when it is not a regular file (a folder, FIFO or device is
    // refused without waiting) or not a readable JPEG (whatever its name says); the error's
    // reason says which.
    static QImage loadJpeg(const QString& path, QSize bound, QSize* natural = nullptr);

    // loadJpeg and fit in one.
    static QImage fitJpegFile(const QString& path, QSize box);

  private:
    static QImage blackBox(QSize box);
};
