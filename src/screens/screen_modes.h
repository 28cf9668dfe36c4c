#pragma once
// ScreenMode numbers: which screen owns the loop and input. Saved games keep the number.

#include <cstdint>

namespace orv::screen_mode {
constexpr int32_t Game = 0;
constexpr int32_t WindowHidden = 1;
constexpr int32_t StaffRoll = 3;
constexpr int32_t Map = 4; // the map of `map`
constexpr int32_t Gallery = 6;
constexpr int32_t ScrollingPicture = 7;
constexpr int32_t Recollection = 8;
constexpr int32_t PageReview = 9;
constexpr int32_t StatusScreen = 10; // the calendar of the first game-specific quick button
} // namespace orv::screen_mode
