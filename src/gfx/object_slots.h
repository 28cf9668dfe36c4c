#pragma once
// The object pictures of `obj_`: 32 slots, each a stacked picture (colour above, mask below)
// and a work surface where it is blended over the background, and the batch surface on
// which a script composes several objects before showing them at once.

#include "gfx/surface.h"

#include <array>
#include <cstdint>

namespace orv {

class ObjectSlots {
public:
    static constexpr int kCount = 32;

    struct Slot {
        bool Loaded = false;
        Surface Picture; // colour in the upper half, mask in the lower
        Surface Work;    // the picture's width, half its height
    };

    // The slot numbered n, or nothing for a number outside 0..31.
    Slot* At(int32_t n) {
        return n >= 0 && n < kCount ? &m_slots[static_cast<size_t>(n)] : nullptr;
    }
    Slot* Loaded(int32_t n) {
        Slot* slot = At(n);
        return slot && slot->Loaded ? slot : nullptr;
    }

    bool BatchMode = false;
    Surface Batch; // 800 x 600 while batch mode is on

private:
    std::array<Slot, kCount> m_slots;
};

// The colour half of `slot` blended through its mask half over what its work surface holds,
// in whole 8-byte groups of each row (the bytes after the last group keep the background).
void BlendObject(ObjectSlots::Slot& slot);

} // namespace orv
