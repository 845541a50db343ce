#include "appearance/TintedPreview.h"

#include <cstdlib>

namespace TintedPreview {

namespace {

// JPEG compression moves a flat colour by a few steps; the bar's controls, the video and the page
// are much further away.
constexpr int kTolerance = 16;

QRgb rgbOf(quint32 number) {
    return qRgb(int(number & 0xFF), int((number >> 8) & 0xFF), int((number >> 16) & 0xFF));
}

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= kTolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= kTolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= kTolerance;
}

}  // namespace

quint32 barColour(bool darkSkin) {
    return darkSkin ? 0x2A2626u : 0xE3E6E6u;
}

QImage apply(const QImage& preview, bool darkSkin, quint32 tint) {
    if (preview.isNull())
        return preview;
    QImage tinted = preview.convertToFormat(QImage::Format_RGB32);
    const QRgb bar = rgbOf(barColour(darkSkin));
    const QRgb colour = rgbOf(tint);
    for (int y = 0; y < tinted.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(tinted.scanLine(y));
        for (int x = 0; x < tinted.width(); ++x)
            if (near(line[x], bar))
                line[x] = colour;
    }
    return tinted;
}

}  // namespace TintedPreview
