#include "platform/letterbox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orv {

namespace {
// Rounds up; numerators here are never negative and denominators always positive.
int64_t CeilDiv(int64_t a, int64_t b) {
    return (a + b - 1) / b;
}
} // namespace

Letterbox Letterbox::Fit(int areaWidth, int areaHeight, int gameWidth, int gameHeight) {
    Letterbox box;
    box.GameWidth = std::max(gameWidth, 1);
    box.GameHeight = std::max(gameHeight, 1);
    if (areaWidth <= 0 || areaHeight <= 0) {
        return box;
    }
    int64_t aw = areaWidth, ah = areaHeight, gw = box.GameWidth, gh = box.GameHeight;
    int64_t width, height;
    if (aw * gh <= ah * gw) {
        // Width-limited: bars above and below.
        width = aw;
        height = std::min(ah, (aw * gh + gw / 2) / gw);
    } else {
        height = ah;
        width = std::min(aw, (ah * gw + gh / 2) / gh);
    }
    box.Picture = Rect{static_cast<int>((aw - width) / 2), static_cast<int>((ah - height) / 2),
                       static_cast<int>(width), static_cast<int>(height)};
    return box;
}

double Letterbox::Scale() const {
    return Empty() ? 0.0 : static_cast<double>(Picture.Width) / GameWidth;
}

Point Letterbox::MapToGame(double x, double y) const {
    if (Empty()) {
        return {};
    }
    double gx = std::floor((x - Picture.X) * GameWidth / Picture.Width);
    double gy = std::floor((y - Picture.Y) * GameHeight / Picture.Height);
    // Clamping in double first keeps huge positions out of the int conversion.
    gx = std::isnan(gx) ? 0.0 : std::clamp(gx, 0.0, static_cast<double>(GameWidth - 1));
    gy = std::isnan(gy) ? 0.0 : std::clamp(gy, 0.0, static_cast<double>(GameHeight - 1));
    return {static_cast<int>(gx), static_cast<int>(gy)};
}

Rect Letterbox::MapToArea(Rect game) const {
    int64_t left = std::clamp<int64_t>(game.X, 0, GameWidth);
    int64_t top = std::clamp<int64_t>(game.Y, 0, GameHeight);
    int64_t right = std::clamp<int64_t>(static_cast<int64_t>(game.X) + game.Width, 0, GameWidth);
    int64_t bottom = std::clamp<int64_t>(static_cast<int64_t>(game.Y) + game.Height, 0, GameHeight);
    if (Empty() || right <= left || bottom <= top) {
        return {};
    }
    int64_t x0 = left * Picture.Width / GameWidth;
    int64_t y0 = top * Picture.Height / GameHeight;
    int64_t x1 = CeilDiv(right * Picture.Width, GameWidth);
    int64_t y1 = CeilDiv(bottom * Picture.Height, GameHeight);
    return Rect{Picture.X + static_cast<int>(x0), Picture.Y + static_cast<int>(y0),
                static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
}

Point ScreenAnchor::ToEngine(double screenX, double screenY) const {
    double scale = Scale > 0 ? Scale : 1.0;
    return {static_cast<int>(std::lround(OriginX + (screenX - OriginX) / scale)),
            static_cast<int>(std::lround(OriginY + (screenY - OriginY) / scale))};
}

Point ScreenAnchor::ToScreen(Point engine) const {
    double scale = Scale > 0 ? Scale : 1.0;
    return {static_cast<int>(std::lround(OriginX + (engine.X - OriginX) * scale)),
            static_cast<int>(std::lround(OriginY + (engine.Y - OriginY) * scale))};
}

} // namespace orv
