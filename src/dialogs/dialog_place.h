#pragma once
// Where the engine's dialogs open: centred over the main window, then moved inside the
// screen, so that a window near an edge still shows its whole dialog.

#include "platform/platform.h"

#include <algorithm>

namespace orv {

// The top-left corner of a `width` x `height` dialog over `owner` inside `screen`. The
// centring offsets are truncated toward zero. A dialog larger than the screen keeps its top
// left on it, where its caption and close button are.
inline Point PlaceDialog(Rect owner, int width, int height, Rect screen) {
    int x = owner.X + (owner.Width - width) / 2;
    int y = owner.Y + (owner.Height - height) / 2;
    x = std::max(std::min(x, screen.X + screen.Width - width), screen.X);
    y = std::max(std::min(y, screen.Y + screen.Height - height), screen.Y);
    return Point{x, y};
}

} // namespace orv
