#pragma once
// The rules of the text flow that depend on nothing but their arguments: where a line
// breaks, which characters are indented, which inline tag a word names, how long auto mode
// waits.

#include <cstdint>
#include <string_view>

namespace orv {

// Code-page-932 codes of the characters the text flow treats specially.
namespace text_code {
constexpr uint16_t FullWidthSpace = 0x8140;
constexpr uint16_t OpeningCorner = 0x8175;      // 「
constexpr uint16_t OpeningParenthesis = 0x8169; // （
constexpr uint16_t OpeningWhiteCorner = 0x8177; // 『
constexpr uint16_t PageWaitMark = 0x81A5;       // ▼
constexpr uint16_t NewPageMark = 0x81A4;        // ▽
constexpr uint16_t LineWaitMark = 0x81AC;       // 〓
constexpr uint16_t Dollar = 0x8190;             // ＄
} // namespace text_code

// Whether a byte of script text begins a double-byte character: every byte of 0x80 and
// above except the half-width katakana 0xA1..0xDF, and the control bytes and DEL, which
// take the byte after them as the lead bytes do. The typing loop and the page review's
// redrawing of a page read text alike.
constexpr bool StartsDoubleByte(uint8_t b) {
    if (b >= 0xA1 && b <= 0xDF) {
        return false;
    }
    return b >= 0x80 || b < 0x20 || b == 0x7F;
}

// Characters that may not begin a line: small kana, closing brackets, the full stop and
// comma and the like. They may stand up to 2 bytes past the line limit instead.
bool MayNotStartLine(uint16_t code);

// True when the character `code` at `column` must go to the next row.
bool BreaksLine(int32_t column, int32_t limit, uint16_t code);

// Opening brackets keep column 0; everything else on a row after the first is indented.
bool KeepsColumnZero(uint16_t code);

// The log omits these marks, which stand for pictures in the text: ◆ § √.
bool OmittedFromLog(uint16_t code);

// Ticks of the auto-mode wait for `pageChars` characters at `level` with `levels` levels.
int32_t AutoWaitTicksFor(int32_t pageChars, int32_t levels, int32_t level);

enum class InlineTag { None, Picture, Narrow, Wide, Colour, Wait, Voice, Clear, Delay, Value, String, Sprite, Background };

struct InlineTagMatch {
    InlineTag Tag = InlineTag::None;
    size_t ArgumentOffset = 0; // from the first byte after '['
};

// The tag whose word starts `text` (the bytes after '['), compared without regard to case
// in the table's order.
InlineTagMatch MatchInlineTag(std::string_view text);

} // namespace orv
