// Both forms write whole target rows from one source row, then fill the rows in between
// from the rows above and below, so that each source row is read once.
#include "gfx/enlarge.h"

#include <cstring>

namespace orv {

namespace {

constexpr int kWideWidth = 640;
// The 640-wide form: groups of 4 source pixels become 5 target pixels, 4 rows become 5.
constexpr int kGroupPixels = 4;
constexpr int kWideLastSkippedFrom = 595; // skipped rows r + 1 are averaged while r < 595

uint8_t HalfSum(uint8_t a, uint8_t b) {
    return static_cast<uint8_t>((a >> 1) + (b >> 1));
}

uint8_t Mean(uint8_t a, uint8_t b) {
    return static_cast<uint8_t>((a + b) >> 1);
}

void WideRow(const uint8_t* s, uint8_t* t) {
    constexpr int groups = kWideWidth / kGroupPixels;
    for (int g = 0; g < groups; ++g) {
        std::memcpy(t, s, kGroupPixels * 3);
        if (g + 1 < groups) {
            for (int c = 0; c < 3; ++c) {
                t[kGroupPixels * 3 + c] =
                    Mean(s[(kGroupPixels - 1) * 3 + c], s[kGroupPixels * 3 + c]);
            }
        }
        s += kGroupPixels * 3;
        t += (kGroupPixels + 1) * 3;
    }
}

void EnlargeWide(const Surface& source, Surface& target) {
    for (int s = 0; s < source.Height(); ++s) {
        int row = s + s / kGroupPixels;
        if (row >= target.Height()) {
            break; // taller than 480: the rest would land below the screen
        }
        WideRow(source.Row(s), target.Row(row));
    }
    int bytes = target.RowBytes();
    for (int r = kGroupPixels - 1; r < kWideLastSkippedFrom; r += kGroupPixels + 1) {
        const uint8_t* above = target.Row(r);
        const uint8_t* below = target.Row(r + 2);
        uint8_t* between = target.Row(r + 1);
        for (int i = 0; i < bytes; ++i) {
            between[i] = Mean(above[i], below[i]);
        }
    }
}

void DoubledRow(const uint8_t* s, uint8_t* t, int width) {
    for (int i = 0; i + 1 < width; ++i, s += 3, t += 6) {
        for (int c = 0; c < 3; ++c) {
            t[c] = s[c];
            t[3 + c] = HalfSum(s[c], s[3 + c]);
        }
    }
    // The last source pixel has no right neighbour: the row ends with the last average twice.
    std::memcpy(t, t - 3, 3);
    std::memcpy(t + 3, t - 3, 3);
}

void EnlargeDoubled(const Surface& source, Surface& target) {
    int width = source.Width(), height = source.Height();
    for (int j = 0; j < height; ++j) {
        DoubledRow(source.Row(j), target.Row(2 * j), width);
    }
    int bytes = target.RowBytes();
    for (int j = 0; j + 1 < height; ++j) {
        const uint8_t* above = target.Row(2 * j);
        const uint8_t* below = target.Row(2 * j + 2);
        uint8_t* between = target.Row(2 * j + 1);
        for (int i = 0; i < bytes; ++i) {
            between[i] = HalfSum(above[i], below[i]);
        }
    }
    std::memcpy(target.Row(2 * height - 2), target.Row(2 * height - 4), static_cast<size_t>(bytes));
    std::memcpy(target.Row(2 * height - 1), target.Row(2 * height - 3), static_cast<size_t>(bytes));
}

} // namespace

Rect EnlargedSize(int width, int height) {
    if (width < 2 || height < 2) {
        return {};
    }
    if (width == kWideWidth) {
        return Rect{0, 0, kScreenWidth, kScreenHeight};
    }
    return Rect{0, 0, 2 * width, 2 * height};
}

bool Enlarge(const Surface& source, Surface& target) {
    Rect size = EnlargedSize(source.Width(), source.Height());
    if (size.Width == 0 || target.Width() != size.Width || target.Height() != size.Height) {
        return false;
    }
    if (source.Width() == kWideWidth) {
        EnlargeWide(source, target);
    } else {
        EnlargeDoubled(source, target);
    }
    return true;
}

} // namespace orv
