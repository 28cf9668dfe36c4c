#include "text/glyph_cache.h"

#include <algorithm>
#include <cstring>

namespace orv {

GlyphCache::GlyphCache()
    : m_codes(AllocateZeroed<uint16_t>(kCapacity)),
      m_masks(AllocateZeroed<uint8_t>(static_cast<size_t>(kCapacity) * kCachedMaskBytes)) {}

std::span<const uint8_t> GlyphCache::Find(uint16_t code) const {
    for (int i = 0; i < m_count; ++i) {
        if (m_codes[static_cast<size_t>(i)] == code) {
            return {m_masks.get() + static_cast<size_t>(i) * kCachedMaskBytes,
                    static_cast<size_t>(kCachedMaskBytes)};
        }
    }
    return {};
}

bool GlyphCache::Add(uint16_t code, std::span<const uint8_t> mask) {
    if (Full()) {
        return false;
    }
    if (!Find(code).empty()) {
        return true;
    }
    uint8_t* entry = m_masks.get() + static_cast<size_t>(m_count) * kCachedMaskBytes;
    size_t bytes = std::min(mask.size(), static_cast<size_t>(kCachedMaskBytes));
    std::memcpy(entry, mask.data(), bytes);
    std::memset(entry + bytes, 0, static_cast<size_t>(kCachedMaskBytes) - bytes);
    m_codes[static_cast<size_t>(m_count)] = code;
    ++m_count;
    return true;
}

} // namespace orv
