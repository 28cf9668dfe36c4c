#pragma once
// Masks of characters already rendered, kept so that typing a character costs a lookup.
// Entries are never evicted: once it is full, further characters are rendered each time.

#include "base/zeroed_array.h"
#include "text/glyph_cell.h"

#include <cstdint>
#include <memory>
#include <span>

namespace orv {

class GlyphCache {
public:
    static constexpr int kCapacity = 1000;

    GlyphCache();

    // The mask cached under `code`, or an empty span. A linear search, as the list is short
    // and the common characters sit at its front.
    std::span<const uint8_t> Find(uint16_t code) const;
    // False when the cache is full; the first entry for a code wins.
    bool Add(uint16_t code, std::span<const uint8_t> mask);
    void Clear() { m_count = 0; }
    int Count() const { return m_count; }
    bool Full() const { return m_count >= kCapacity; }

private:
    ZeroedArray<uint16_t> m_codes;
    ZeroedArray<uint8_t> m_masks; // kCapacity x kCachedMaskBytes
    int m_count = 0;
};

} // namespace orv
