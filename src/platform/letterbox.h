#pragma once
// Where the game picture sits when the front end shows it in an area of another size: as
// large as fits with its aspect kept, centred, with black bars on two sides. Pointer
// positions are mapped back to game pixels through the same rectangle, so that a click lands
// on the pixel under it whatever the window size.

#include "gfx/surface.h"
#include "platform/platform.h"

namespace orv {

struct Letterbox {
    int GameWidth = kScreenWidth;
    int GameHeight = kScreenHeight;
    // The picture's rectangle inside the area, in the area's pixels.
    Rect Picture;

    // The fit of a game picture into an area of areaWidth by areaHeight pixels. An empty or
    // negative area gives an empty picture rectangle.
    static Letterbox Fit(int areaWidth, int areaHeight, int gameWidth = kScreenWidth,
                         int gameHeight = kScreenHeight);

    bool Empty() const { return Picture.Width <= 0 || Picture.Height <= 0; }
    // Area pixels per game pixel.
    double Scale() const;
    // The game pixel under area position (x, y). Positions in the bars or outside the area map
    // to the nearest edge pixel, so that a drag leaving the picture still ends on it.
    Point MapToGame(double x, double y) const;
    // The smallest area rectangle that covers game rectangle `game` (clipped to the picture).
    Rect MapToArea(Rect game) const;
};

// Screen positions the engine derives from game pixels (moving the pointer onto a choice, a
// pop-up menu beside the pointer) assume an unscaled picture at the paint box's origin. They
// are exchanged with the engine relative to the picture's top-left with the offsets scaled, so
// that arithmetic in game pixels still lands on the spot shown.
struct ScreenAnchor {
    double OriginX = 0; // screen position of the picture's top-left
    double OriginY = 0;
    double Scale = 1; // screen pixels per game pixel

    Point ToEngine(double screenX, double screenY) const;
    Point ToScreen(Point engine) const;
};

} // namespace orv
