// The filters a scene is shown through (S011): darkened, sepia, grey, or upside down.
#include "gfx/scene.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orv {

namespace {

void Darken(Surface& scene, int32_t brightness) {
    // One table for the whole picture: each byte becomes byte x brightness / 16.
    std::array<uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        int64_t scaled = int64_t{value} * brightness / 16;
        table[static_cast<size_t>(value)] =
            static_cast<uint8_t>(std::clamp<int64_t>(scaled, 0, 255));
    }
    for (int y = 0; y < scene.Height(); ++y) {
        uint8_t* row = scene.Row(y);
        for (int i = 0; i < scene.RowBytes(); ++i) {
            row[i] = table[row[i]];
        }
    }
}

// The pixel's grey (blue + green + red) / 3 goes to blue x 1/4, green x 3/4 and red x 1.
template <bool Sepia>
void Tint(Surface& scene) {
    for (int y = 0; y < scene.Height(); ++y) {
        uint8_t* p = scene.Row(y);
        for (int x = 0; x < scene.Width(); ++x, p += 3) {
            int grey = (p[0] + p[1] + p[2]) / 3;
            if constexpr (Sepia) {
                p[0] = static_cast<uint8_t>(grey / 4);
                p[1] = static_cast<uint8_t>(grey * 3 / 4);
                p[2] = static_cast<uint8_t>(grey);
            } else {
                p[0] = p[1] = p[2] = static_cast<uint8_t>(grey);
            }
        }
    }
}

// Pixel (x, y) changes place with (width - 1 - x, height - 1 - y).
void Rotate(Surface& scene) {
    int width = scene.Width();
    int height = scene.Height();
    for (int y = 0; y < (height + 1) / 2; ++y) {
        uint8_t* top = scene.Row(y);
        uint8_t* bottom = scene.Row(height - 1 - y);
        // The middle row of an odd height is turned onto itself: only its first half swaps.
        int pixels = y == height - 1 - y ? width / 2 : width;
        for (int x = 0; x < pixels; ++x) {
            uint8_t* a = top + static_cast<size_t>(x) * 3;
            uint8_t* b = bottom + static_cast<size_t>(width - 1 - x) * 3;
            std::swap(a[0], b[0]);
            std::swap(a[1], b[1]);
            std::swap(a[2], b[2]);
        }
    }
}

} // namespace

void ApplySceneFilter(Surface& scene, int32_t filter, int32_t brightness) {
    switch (static_cast<SceneFilter>(filter)) {
    case SceneFilter::Darken:
        Darken(scene, brightness);
        break;
    case SceneFilter::Sepia:
        Tint<true>(scene);
        break;
    case SceneFilter::Grey:
        Tint<false>(scene);
        break;
    case SceneFilter::Rotate:
        Rotate(scene);
        break;
    default:
        break;
    }
}

} // namespace orv
