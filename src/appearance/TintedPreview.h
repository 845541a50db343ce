#pragma once

#include <QImage>
#include <QtGlobal>

// The preview picture of a skin with a colour tint on it. The player fills its control bar with
// the tint, flat, so the preview does the same: every pixel of the bar's own colour (as
// tools/skinmaker draws the previews) takes the tint; the video, the page and the bar's controls
// stay as they are.
namespace TintedPreview {

// The bar colour of a skin's preview: dark skins have a dark bar, the others a light one.
quint32 barColour(bool darkSkin);

// `tint` is a colour number (red + 256 * green + 65536 * blue).
QImage apply(const QImage& preview, bool darkSkin, quint32 tint);

}  // namespace TintedPreview
