#pragma once
// Integers written as decimal text, as the game configuration and the settings store hold
// them.

#include <cstdint>
#include <limits>
#include <string_view>

namespace orv {

// An optional minus sign and one or more digits, nothing else, within the 32-bit signed
// range. False, with `out` unchanged, for anything else (an empty text included).
inline bool ParseDecimal(std::string_view text, int32_t& out) {
    size_t pos = 0;
    bool negative = !text.empty() && text[0] == '-';
    if (negative) {
        pos = 1;
    }
    if (pos == text.size()) {
        return false;
    }
    // One past the largest magnitude, so that -2147483648 is accepted.
    constexpr int64_t kLimit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c < '0' || c > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit) {
            return false;
        }
    }
    if (!negative && magnitude == kLimit) {
        return false;
    }
    out = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

} // namespace orv
