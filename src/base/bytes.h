#pragma once
// Little-endian reads and writes over spans. Every read is bounds-checked by the caller's
// span: data files are untrusted and may be truncated anywhere.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

using Bytes = std::vector<uint8_t>;
using ByteSpan = std::span<const uint8_t>;

inline uint32_t LoadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline void StoreU32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}
inline uint16_t LoadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// The 32-bit little-endian word at `offset`, or nothing when it does not fit in `data`.
inline std::optional<uint32_t> ReadU32(ByteSpan data, size_t offset) {
    if (offset > data.size() || data.size() - offset < 4) {
        return std::nullopt;
    }
    return LoadU32(data.data() + offset);
}

inline void AppendU32(Bytes& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}
inline void AppendU16(Bytes& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// A NUL-terminated text inside a fixed-width field: cut at the NUL, or at the field's end
// when the field holds none.
inline std::string_view FixedFieldText(ByteSpan field) {
    const auto* begin = reinterpret_cast<const char*>(field.data());
    const void* nul = std::memchr(begin, 0, field.size());
    size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - begin) : field.size();
    return {begin, length};
}

} // namespace orv
