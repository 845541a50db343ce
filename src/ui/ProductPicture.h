#pragma once

#include <QPixmap>
#include <QSize>

// The picture of the splash and about windows: drawn, so the program needs no image files.
namespace ProductPicture {

QPixmap draw(const QSize& size);

}  // namespace ProductPicture
