#pragma once

#include <QString>

// The inline style that lets a player follow a narrow page: the box keeps the chosen size while
// there is room, shrinks to its container's width when there is not, and its height follows the
// width in the chosen shape rather than the video's own.
namespace FluidStyle {

// `width` and `height` are pasted as given, so a script can pass pieces that read its variables.
QString box(const QString& width, const QString& height);

}  // namespace FluidStyle
