#pragma once

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QtGlobal>

// Writes the smallest Flash movie a player accepts: an uncompressed SWF with one empty frame of
// the given size and background colour. The skins installed with the program are such movies,
// so an embed of a generated page has a real movie of the right stage size to load.
class SwfWriter {
  public:
    static constexpr quint8 Version = 6;      // the Flash version the generated pages require
    static constexpr int FrameRate = 24;      // frames per second
    static constexpr int TwipsPerPixel = 20;  // stage sizes are stored in twips

    static QByteArray emptyMovie(QSize stagePixels, const QColor& background);

  private:
    static QByteArray rect(int widthTwips, int heightTwips);
    static QByteArray tag(int code, const QByteArray& body);
};
