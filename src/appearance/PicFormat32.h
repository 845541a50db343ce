#pragma once

#include <QImage>
#include <QString>

// The picture files of the rendering: a fitted canvas is kept as a plain bitmap (the ".fcx" files
// of the scratch folder), and the player and the pages get a JPEG converted from that bitmap.
class PicFormat32 {
  public:
    // Writes `image` as a Windows bitmap, whatever the extension says, replacing any earlier file
    // whole or not at all (RegularFile::replace). Error 75 when it cannot be written (61 for a
    // full disk, 70 without permission), with the reason.
    static void saveBitmap(const QImage& image, const QString& path);

    // Converts the bitmap at `bitmapPath` into a JPEG at `jpegPath` with `quality` (0 to 100).
    // The JPEG appears whole or not at all. Error 53 when the bitmap is missing, 75 when it is not
    // a regular file, cannot be read or the JPEG cannot be written, 5 for a quality outside 0 to
    // 100.
    static void convert(const QString& bitmapPath, const QString& jpegPath, int quality);
};
