#include "text/backlog_layout.h"

#include <algorithm>

namespace orv {

namespace {

// Far off the screen either way, and small enough that sums of a few never overflow.
constexpr int32_t kCoordinateLimit = 1 << 20;
int32_t Coordinate(int32_t value) {
    return std::clamp(value, -kCoordinateLimit, kCoordinateLimit);
}

BacklogBox Placed(const Box& box, int32_t dx, int32_t dy) {
    return {Coordinate(box[0]) + dx, Coordinate(box[1]) + dy, Coordinate(box[2]) + dx,
            Coordinate(box[3]) + dy};
}

// Text sizes of the configuration are in points, as the desktop's canvas takes them: at 96
// pixels an inch a point is 4/3 of a pixel, rounded as the system rounds it.
constexpr int32_t kMaxTextPixels = 200;
int32_t PointsToPixels(int32_t points) {
    int64_t pixels = (int64_t{std::clamp(points, 0, kMaxTextPixels)} * 96 + 36) / 72;
    return static_cast<int32_t>(std::clamp<int64_t>(pixels, 1, kMaxTextPixels));
}

} // namespace

BacklogLayout BacklogLayout::FromConfig(const GameConfig& config) {
    BacklogLayout layout;
    layout.BarX = Coordinate(config.LOG_BAR[0]);
    layout.BarY = Coordinate(config.LOG_BAR[1]);
    layout.Track = Placed(config.LOG_BAR_INSIDE, layout.BarX, layout.BarY);
    layout.Up = Placed(config.LOG_BAR_UP, 0, 0);
    layout.Down = Placed(config.LOG_BAR_DOWN, 0, 0);
    layout.TextX = Coordinate(config.LOG_WINDOW[0]);
    layout.TextY = Coordinate(config.LOG_WINDOW[1]);
    layout.Pitch = std::clamp(config.LOG_PITCH, 1, kCoordinateLimit);
    layout.Rows = std::clamp(config.LOG_LINES, 1, kMaxRows);
    layout.TextPixels = PointsToPixels(config.LOG_FONTSIZE);
    return layout;
}

int32_t MaxScroll(int32_t count, int32_t rows) {
    return std::max(count - rows, 0);
}

int32_t FirstShownLine(int32_t count, int32_t rows, int32_t scroll) {
    return std::max(count - rows - scroll, 0);
}

int32_t ThumbTop(int32_t trackTop, int32_t trackLength, int32_t scroll, int32_t count,
                 int32_t rows) {
    int64_t range = count - rows;
    if (range <= 0) {
        return trackTop + trackLength;
    }
    return static_cast<int32_t>(trackTop + trackLength - int64_t{scroll} * trackLength / range);
}

int32_t ScrollForThumb(int32_t p, int32_t trackLength, int32_t count, int32_t rows,
                       int32_t current) {
    if (trackLength <= 0) {
        return current;
    }
    int64_t from = std::clamp(p, 0, trackLength);
    int64_t scroll = int64_t{MaxScroll(count, rows)} * (trackLength - from) / trackLength;
    return static_cast<int32_t>(scroll);
}

} // namespace orv
