#include "script/script_search.h"

#include "base/cp932.h"

#include <algorithm>

namespace orv {
namespace {

constexpr size_t npos = std::string_view::npos;

// The line at `pos` without its NUL; a last line without NUL runs to the end of the text.
std::string_view LineAt(std::string_view script, size_t pos) {
    size_t nul = script.find('\0', pos);
    return script.substr(pos, (nul == npos ? script.size() : nul) - pos);
}

// Offset of the line after the one that `line` (a view into `script`) is.
size_t AfterLine(std::string_view script, std::string_view line) {
    size_t end = static_cast<size_t>(line.data() - script.data()) + line.size();
    return std::min(end + 1, script.size());
}

// The first line start at or after `from`; the end of the text when there is none.
size_t FirstLineStart(std::string_view script, int32_t from) {
    if (from <= 0) {
        return 0;
    }
    auto pos = static_cast<size_t>(from);
    if (pos >= script.size()) {
        return script.size();
    }
    return script[pos - 1] == '\0' ? pos : AfterLine(script, LineAt(script, pos));
}

// Calls `match(line)` for each line from the first line start at or after `from`; returns the
// offset of the first line it accepts, or kNotFound.
template <typename Match>
int32_t FindLine(std::string_view script, int32_t from, Match&& match) {
    size_t pos = FirstLineStart(script, from);
    while (pos < script.size()) {
        std::string_view line = LineAt(script, pos);
        if (match(line)) {
            return static_cast<int32_t>(pos);
        }
        pos = AfterLine(script, line);
    }
    return kNotFound;
}

} // namespace

int32_t FindLabel(std::string_view script, std::string_view label) {
    for (size_t colon = script.find(':'); colon != npos; colon = script.find(':', colon + 1)) {
        std::string_view rest = LineAt(script, colon + 1);
        if (cp932::EqualsIgnoreCase(rest, label)) {
            return static_cast<int32_t>(AfterLine(script, rest));
        }
    }
    return -1;
}

int32_t SkipToBlockEnd(std::string_view script, int32_t from) {
    return NextLineStartingWith(script, from, '}');
}

int32_t NextLineStartingWith(std::string_view script, int32_t from, char first) {
    return FindLine(script, from,
                    [first](std::string_view line) { return line.starts_with(first); });
}

std::string_view LineText(std::string_view script, int32_t pos) {
    if (pos < 0 || static_cast<size_t>(pos) >= script.size()) {
        return {};
    }
    return LineAt(script, static_cast<size_t>(pos));
}

int32_t LineAfter(std::string_view script, int32_t pos) {
    if (pos < 0 || static_cast<size_t>(pos) >= script.size()) {
        return static_cast<int32_t>(script.size());
    }
    return static_cast<int32_t>(AfterLine(script, LineAt(script, static_cast<size_t>(pos))));
}

int32_t SkipNamedBlock(std::string_view script, int32_t from, std::string_view name) {
    return FindLine(script, from, [name](std::string_view line) {
        return line.starts_with("}:") && cp932::EqualsIgnoreCase(line.substr(2), name);
    });
}

int32_t FindNamedBlock(std::string_view script, int32_t from, std::string_view prefix) {
    return FindLine(script, from, [prefix](std::string_view line) {
        return line.starts_with("{:") && line.size() - 2 >= prefix.size() &&
               cp932::EqualsIgnoreCase(line.substr(2, prefix.size()), prefix);
    });
}

int32_t FindByte(std::string_view script, int32_t from, uint8_t byte) {
    if (from >= static_cast<int32_t>(script.size())) {
        return from;
    }
    size_t start = from < 0 ? 0 : static_cast<size_t>(from) + 1;
    size_t found = script.find(static_cast<char>(byte), start);
    return found == npos ? from : static_cast<int32_t>(found);
}

} // namespace orv
