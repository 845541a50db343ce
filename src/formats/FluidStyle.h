#pragma once

#include <QString>

// The inline style that lets a player follow a narrow page: the box keeps the chosen size while
// there is room, shrinks to its container's width when there is not, and its height follows the
// width in the chosen shape rather than the video's own.
namespace FluidStyle {

// For a video element. `width` and `height` are pasted as given, so a script can pass pieces that
// read its variables.
QString box(const QString& width, const QString& height);
// For the Flash movie's element, which the emulator replaces by one of its own: unlike a video it
// would keep the page's table at its full width, so it takes the width it is given, up to the
// chosen one.
QString movie(int width, int height);

}  // namespace FluidStyle
