#pragma once
// The text colours of the inline colour tag, as 0xBBGGRR values. Number 0 is the colour
// the script keeps in S037 (the speaker's colour); any other number picks n mod 8.

#include <array>
#include <cstdint>

namespace orv {

inline constexpr std::array<uint32_t, 8> kTextPalette = {
    0xFFFFFF, 0x008000, 0x0000FF, 0x800080, 0x00FFFF, 0xFF0000, 0xFFFF00, 0xC0C0C0};

constexpr uint32_t TextColourFor(int32_t number, uint32_t colourZero) {
    if (number == 0) {
        return colourZero;
    }
    // A negative number from a script picks its entry as a positive one would.
    int32_t entry = number % 8;
    return kTextPalette[static_cast<size_t>(entry < 0 ? entry + 8 : entry)];
}

} // namespace orv
