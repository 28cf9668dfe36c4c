#pragma once
// The scene model that saves keep (the names in use), the position table of the characters
// in the system cells, and the filters a scene can be shown through.

#include "gfx/surface.h"
#include "script/system_cells.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace orv {

class VariableStore;

// The names of the pictures in use, in the widths of their save-record fields: each holds at
// most one byte less than its size and a NUL.
struct SceneDescription {
    static constexpr size_t kNameSize = 30;
    static constexpr size_t kCharacterDescriptionSize = 60;

    char BackgroundName[kNameSize] = {};
    // The character list as last composed, items joined by ','.
    char CharacterDescription[kCharacterDescriptionSize] = {};
    char OverlayName[kNameSize] = {};
    // grb: the next background and characters are prepared, not shown.
    uint8_t PrepareFlag = 0;
    // A background or solid colour was loaded since the full-screen text layout last showed
    // the scene alone.
    bool BackgroundChanged = false;
};

// ---- The position table in the system cells. Position k of a scene with n characters
// (1..4) uses entry PositionBase(n) + k.
constexpr int kPositionXCell = cell::PositionX;
constexpr int kPositionYCell = cell::PositionY;
constexpr int kPositionEntries = cell::kPositionEntries;

constexpr int PositionBase(int count) {
    constexpr int kBase[5] = {0, 0, 1, 3, 6};
    return count >= 1 && count <= 4 ? kBase[count] : 0;
}

// Script values used as screen coordinates, brought into a range where the arithmetic of
// clipping cannot overflow; anything that far out lies off the screen either way.
constexpr int kCoordinateLimit = 1 << 20;
constexpr int ClampCoordinate(int64_t value) {
    return static_cast<int>(value < -kCoordinateLimit  ? -kCoordinateLimit
                            : value > kCoordinateLimit ? kCoordinateLimit
                                                       : value);
}

// Loads the default table: one character at 400; two at 250, 550; three at 200, 400, 600;
// four at 100, 300, 500, 700; every top edge 0.
void ResetPositionTable(VariableStore& vars);

// The order in which the positions of a scene with `count` characters are drawn (later over
// earlier); `swapped` is S024 not 0, which turns the order round for two and four.
std::span<const int> DrawOrder(int count, bool swapped);

// ---- Scene filters (S011): 1 darken by S013 sixteenths, 2 sepia, 3 grey, 4 turned by 180
// degrees; any other value leaves the picture as it is.
enum class SceneFilter : int32_t { None = 0, Darken = 1, Sepia = 2, Grey = 3, Rotate = 4 };

// `brightness` is in sixteenths (16 = unchanged); a result past 255 stays 255.
void ApplySceneFilter(Surface& scene, int32_t filter, int32_t brightness);

} // namespace orv
