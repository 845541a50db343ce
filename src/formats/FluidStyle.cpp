#include "formats/FluidStyle.h"

namespace FluidStyle {

QString box(const QString& width, const QString& height) {
    // A block has no line box below it, so a container sized by the player is exactly its height.
    return QStringLiteral("display:block;max-width:100%;height:auto;aspect-ratio:") + width +
           QStringLiteral(" / ") + height;
}

}  // namespace FluidStyle
