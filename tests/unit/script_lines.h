#pragma once
// Script text for the tests: lines each ended by its NUL, as scripts are stored.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace orv::test {

inline std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line);
        text.push_back('\0');
    }
    return text;
}

// The offset of the first line equal to `line` after the first line of `text`; -2 when
// there is none (a value no search returns).
inline int32_t OffsetOfLine(const std::string& text, std::string_view line) {
    std::string needle = std::string(1, '\0') + std::string(line) + std::string(1, '\0');
    size_t at = text.find(needle);
    return at == std::string::npos ? -2 : static_cast<int32_t>(at + 1);
}

} // namespace orv::test
