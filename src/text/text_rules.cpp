#include "text/text_rules.h"

#include <algorithm>
#include <array>

namespace orv {

namespace {

//　 、 。 ？ ！ ー ） 」 』 ％ ♪ and the small kana of both scripts.
constexpr std::array<uint16_t, 32> kNoLineStart = {
    0x8140, 0x8141, 0x8142, 0x8148, 0x8149, 0x815B, 0x816A, 0x8176, 0x8178, 0x8193, 0x81F4,
    0x829F, 0x82A1, 0x82A3, 0x82A5, 0x82A7, 0x82C1, 0x82E1, 0x82E3, 0x82E5, 0x82EC, 0x8340,
    0x8342, 0x8344, 0x8346, 0x8348, 0x8362, 0x8383, 0x8385, 0x8387, 0x838E, 0x8396};

struct TagWord {
    std::string_view Word;
    InlineTag Tag;
    size_t Skip; // bytes between the word and its argument
};

constexpr std::array<TagWord, 12> kTags = {{
    {"gra", InlineTag::Picture, 1},    {"1", InlineTag::Narrow, 1},
    {"2", InlineTag::Wide, 1},         {"col", InlineTag::Colour, 1},
    {"wait", InlineTag::Wait, 1},      {"cv ", InlineTag::Voice, 0},
    {"clrb", InlineTag::Clear, 1},     {"delay", InlineTag::Delay, 1},
    {"?", InlineTag::Value, 0},        {"$", InlineTag::String, 0},
    {"spr", InlineTag::Sprite, 1},     {"bg", InlineTag::Background, 1},
}};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoreCase(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) {
        return false;
    }
    for (size_t i = 0; i < word.size(); ++i) {
        if (Lower(text[i]) != word[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

bool MayNotStartLine(uint16_t code) {
    return std::find(kNoLineStart.begin(), kNoLineStart.end(), code) != kNoLineStart.end();
}

bool BreaksLine(int32_t column, int32_t limit, uint16_t code) {
    if (column < limit) {
        return false;
    }
    // Starting at most one byte past the limit, a full-width mark ends 2 bytes beyond it:
    // with the limit at its largest (97) it still fits the 100 columns of the page.
    return !(MayNotStartLine(code) && column < limit + 2);
}

bool KeepsColumnZero(uint16_t code) {
    return code == text_code::OpeningCorner || code == text_code::OpeningParenthesis ||
           code == text_code::OpeningWhiteCorner;
}

bool OmittedFromLog(uint16_t code) { return code == 0x819F || code == 0x8198 || code == 0x81E3; }

int32_t AutoWaitTicksFor(int32_t pageChars, int32_t levels, int32_t level) {
    int64_t divisor = static_cast<int64_t>(levels) - level + 12;
    // A level beyond the configured count would divide by zero or less; such a level waits
    // as the slowest one that still divides does.
    if (divisor < 1) {
        divisor = 1;
    }
    int64_t ticks = pageChars / divisor + 2 * static_cast<int64_t>(level) + 2;
    return static_cast<int32_t>(std::clamp<int64_t>(ticks, 0, INT32_MAX));
}

InlineTagMatch MatchInlineTag(std::string_view text) {
    for (const TagWord& tag : kTags) {
        if (StartsWithIgnoreCase(text, tag.Word)) {
            return {tag.Tag, tag.Word.size() + tag.Skip};
        }
    }
    return {};
}

} // namespace orv
