#pragma once
// Whole numbers given on command lines and in play files.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orv {

// The decimal integer that is the whole of `text` (an optional minus and digits), when it
// lies within low..high.
inline std::optional<int64_t> ParseIntegerInRange(std::string_view text, int64_t low, int64_t high) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high) {
        return std::nullopt;
    }
    return value;
}

} // namespace orv
