#include "choices/map_definition.h"

#include "base/cp932.h"

#include <algorithm>
#include <utility>

namespace orv {

namespace {

constexpr int kMaxNumbers = 10;
// 16-pixel text: a byte is half a full-width character.
constexpr int32_t kCaptionPixelsPerByte = 8;
constexpr int32_t kCaptionMargin = 32;
constexpr int32_t kCaptionHeight = 24;
// Numbers are read as at most this many digits, so that no value overflows.
constexpr int kNumberDigits = 9;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A decimal field with an optional sign and blanks before it; anything else reads as 0.
int32_t FieldNumber(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) {
        ++i;
    }
    bool negative = i < field.size() && field[i] == '-';
    if (negative || (i < field.size() && field[i] == '+')) {
        ++i;
    }
    int32_t value = 0;
    for (int digits = 0; i < field.size() && digits < kNumberDigits; ++i, ++digits) {
        if (field[i] < '0' || field[i] > '9') {
            break;
        }
        value = value * 10 + (field[i] - '0');
    }
    return negative ? -value : value;
}

// The comma-separated numbers after the caption; missing ones read as 0.
struct Numbers {
    int32_t Values[kMaxNumbers] = {};
    int32_t operator[](int i) const { return Values[i]; }
};

Numbers ReadNumbers(std::string_view text) {
    Numbers numbers;
    for (int i = 0; i < kMaxNumbers && !text.empty(); ++i) {
        size_t comma = text.find(',');
        numbers.Values[i] = FieldNumber(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return numbers;
}

ChoiceBox Normalised(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (x1 > x2) {
        std::swap(x1, x2);
    }
    if (y1 > y2) {
        std::swap(y1, y2);
    }
    return ChoiceBox{x1, y1, x2, y2};
}

// Offset of the line after the label `:name`, or -1.
int32_t FindMapLabel(std::string_view definition, std::string_view name) {
    for (size_t colon = definition.find(':'); colon != std::string_view::npos;
         colon = definition.find(':', colon + 1)) {
        std::string_view rest = definition.substr(colon + 1);
        if (rest.size() >= name.size() &&
            cp932::EqualsIgnoreCase(rest.substr(0, name.size()), name)) {
            size_t nul = definition.find('\0', colon);
            return nul == std::string_view::npos ? static_cast<int32_t>(definition.size())
                                                 : static_cast<int32_t>(nul + 1);
        }
    }
    return -1;
}

std::string_view NextLine(std::string_view definition, size_t& pos) {
    if (pos >= definition.size()) {
        return {};
    }
    size_t nul = definition.find('\0', pos);
    size_t end = nul == std::string_view::npos ? definition.size() : nul;
    std::string_view line = definition.substr(pos, end - pos);
    pos = end + 1;
    return line;
}

} // namespace

bool ColourKey(std::string_view caption, uint32_t& key) {
    if (caption.size() < 4 || caption[0] != '$') {
        return false;
    }
    int r = HexDigit(caption[1]);
    int g = HexDigit(caption[2]);
    int b = HexDigit(caption[3]);
    if (r < 0 || g < 0 || b < 0) {
        return false;
    }
    key = static_cast<uint32_t>(b << 4) << 16 | static_cast<uint32_t>(g << 4) << 8 |
          static_cast<uint32_t>(r << 4);
    return true;
}

ChoiceBox CaptionPlacement(const ChoiceBox& area, std::string_view caption) {
    int32_t width = static_cast<int32_t>(caption.size()) * kCaptionPixelsPerByte + kCaptionMargin;
    int32_t left = area.Left + (area.Width() - width) / 2;
    int32_t top = area.Top + (area.Height() - kCaptionHeight) / 2;
    return ChoiceBox{left, top, left + width, top + kCaptionHeight};
}

void ReadRegion(std::string_view line, MapRegion& region) {
    region = MapRegion{};
    size_t comma = line.find(',');
    std::string_view caption = line.substr(0, comma);
    std::string_view rest =
        comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
    region.Caption.Set(caption);
    Numbers numbers = ReadNumbers(rest);
    if (ColourKey(caption, region.Key)) {
        region.Kind = RegionKind::Colour;
        region.Cursor = numbers[0];
        return;
    }
    region.Area = Normalised(numbers[0], numbers[1], numbers[2], numbers[3]);
    if (!caption.empty() && caption[0] == '#') {
        region.Kind = RegionKind::SecondRect;
        region.Source = Normalised(numbers[4], numbers[5], numbers[6], numbers[7]);
        region.Extra[0] = numbers[8];
        region.Extra[1] = numbers[9];
    } else if (!caption.empty() && caption[0] == '*') {
        region.Kind = RegionKind::SamePlace;
    }
    region.CaptionBox = CaptionPlacement(region.Area, region.Caption.View());
}

void ReadMapDefinition(std::string_view definition, std::string_view name, MapDefinition& map) {
    map.Count = 0;
    int32_t start = FindMapLabel(definition, name);
    size_t pos = start < 0 ? 0 : static_cast<size_t>(start);
    int32_t count = FieldNumber(NextLine(definition, pos));
    count = std::clamp(count, 0, kMaxChoices);
    for (int i = 0; i < count; ++i) {
        ReadRegion(NextLine(definition, pos), map.Regions[i]);
    }
    map.Count = count;
}

} // namespace orv
