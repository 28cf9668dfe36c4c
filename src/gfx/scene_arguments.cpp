#include "gfx/scene_arguments.h"

#include "base/cp932.h"

#include <algorithm>
#include <limits>

namespace orv {

namespace {

constexpr size_t kMaxNameBytes = 63;
// The search for the number and the side ends at byte 63 of the argument text.
constexpr size_t kScanEnd = 64;
constexpr size_t kMaxDirectNameBytes = 32;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A decimal number after optional blanks, with an optional sign; 0 when there is none. A
// number past the range of int32 is clamped.
int32_t Number(std::string_view text) {
    text = Trim(text);
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    int64_t value = 0;
    for (char c : text) {
        if (!IsDigit(c)) {
            break;
        }
        value = std::min<int64_t>(value * 10 + (c - '0'), int64_t{1} << 32);
    }
    value = negative ? -value : value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

PictureArgument ScanPictureArgument(std::string_view argument, bool withSides) {
    PictureArgument result;
    size_t i = 0;
    bool cut = false;
    while (i < argument.size()) {
        char c = argument[i];
        if (IsBlank(c) || c == ',' || c == ']' || c == '\0') {
            break;
        }
        size_t next = i + cp932::CharLength(argument, i);
        if (next > kMaxNameBytes) {
            cut = true;
            break;
        }
        i = next;
    }
    result.Name = argument.substr(0, i);
    if (cut || i >= argument.size() || !(IsBlank(argument[i]) || argument[i] == ',')) {
        return result;
    }
    size_t end = std::min(argument.size(), kScanEnd);
    int64_t run = -1; // the run of digits being read, -1 outside one
    auto endRun = [&] {
        if (run >= 0) {
            result.Transition = static_cast<int32_t>(run);
            run = -1;
        }
    };
    for (size_t pos = i + 1; pos < end;) {
        char c = argument[pos];
        if (c == ']' || c == '\0') {
            break;
        }
        size_t length = cp932::CharLength(argument, pos);
        if (length == 1 && IsDigit(c)) {
            run = std::min<int64_t>((run < 0 ? 0 : run * 10) + (c - '0'),
                                    std::numeric_limits<int32_t>::max());
        } else {
            endRun();
            if (withSides && length == 1 && (c == 'L' || c == 'l' || c == 'R' || c == 'r')) {
                result.Side = c == 'L' || c == 'l' ? 'L' : 'R';
            }
        }
        pos += length;
    }
    endRun();
    return result;
}

ClearArgument ScanClearArgument(std::string_view argument) {
    ClearArgument result;
    result.Transition = Number(argument);
    std::string_view text = Trim(argument);
    if (!text.empty()) {
        char last = text.back();
        if (last == 'l' || last == 'L') {
            result.Side = 'L';
        } else if (last == 'r' || last == 'R') {
            result.Side = 'R';
        }
    }
    return result;
}

std::optional<std::string_view> CommaField(std::string_view text, int index) {
    size_t start = 0;
    for (int field = 0; field < index; ++field) {
        size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            return std::nullopt;
        }
        start = comma + 1;
    }
    size_t end = std::min(text.find(',', start), text.size());
    return Trim(text.substr(start, end - start));
}

OverlayArgument ScanOverlayArgument(std::string_view argument) {
    OverlayArgument result;
    result.Name = CommaField(argument, 0).value_or("");
    result.Off = cp932::EqualsIgnoreCase(result.Name, "OFF");
    if (auto n = CommaField(argument, 1)) {
        result.Transition = Number(*n);
    }
    if (auto x = CommaField(argument, 2)) {
        result.X = Number(*x);
    }
    if (auto y = CommaField(argument, 3)) {
        result.Y = Number(*y);
    }
    return result;
}

DirectArgument ScanDirectArgument(std::string_view argument) {
    DirectArgument result;
    result.Name = cp932::CutToWholeChars(CommaField(argument, 0).value_or(""), kMaxDirectNameBytes);
    result.Milliseconds = Number(CommaField(argument, 1).value_or(""));
    result.X = Number(CommaField(argument, 2).value_or(""));
    result.Y = Number(CommaField(argument, 3).value_or(""));
    return result;
}

} // namespace orv
