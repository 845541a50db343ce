#include "formats/FluidStyle.h"

namespace FluidStyle {

QString box(const QString& width, const QString& height) {
    // A block has no line box below it, so a container sized by the player is exactly its height.
    return QStringLiteral("display:block;max-width:100%;height:auto;aspect-ratio:") + width +
           QStringLiteral(" / ") + height;
}

QString movie(int width, int height) {
    return QStringLiteral(
               "display:block;width:100%;max-width:%1px;height:auto;aspect-ratio:%1 / %2")
        .arg(width)
        .arg(height);
}

}  // namespace FluidStyle
