#pragma once
// Code page 932 (Shift-JIS as Windows writes it): every text of the game data is in it.
// Texts are measured in bytes; a full-width character is a lead byte and a trail byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv::cp932 {

// The Windows lead-byte ranges of code page 932: 0x81..0x9F and 0xE0..0xFC.
constexpr bool IsLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Bytes taken by the character at `pos`: 2 for a lead byte with a byte after it, else 1;
// 0 at or past the end.
size_t CharLength(std::string_view text, size_t pos);

// The longest prefix of `text` of at most `limit` bytes that cuts no double-byte character.
std::string_view CutToWholeChars(std::string_view text, size_t limit);

// Upper-cases a..z in place. The second byte of a double-byte character is never touched,
// even when it falls in a..z (0x61..0x7A are valid trail bytes).
void UpperCaseInPlace(char* text, size_t length);
void UpperCaseInPlace(std::string& text);
std::string UpperCase(std::string_view text);

// Equal after upper-casing both sides as above.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Calls `visit(std::string_view character)` for each character in order.
template <typename Visit>
void ForEachChar(std::string_view text, Visit&& visit) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t length = CharLength(text, pos);
        visit(text.substr(pos, length));
        pos += length;
    }
}

// The code of one character as a 16-bit value: the byte itself for a single-byte character,
// lead << 8 | trail for a double-byte one.
uint16_t CharCode(std::string_view character);

// U+FFFD stands in for a byte sequence that code page 932 does not define.
constexpr char32_t ReplacementChar = 0xFFFD;

// Decodes one character code (see CharCode) to Unicode through a table built once from iconv.
char32_t DecodeChar(uint16_t code);

std::u32string ToUtf32(std::string_view sjis);
std::string ToUtf8(std::string_view sjis);

// Encodes UTF-8 into code page 932. Returns the byte offset in `utf8` of the first character
// that cannot be encoded (or that is not valid UTF-8), or npos when all of it was encoded;
// on failure `out` holds the text encoded before that character.
size_t EncodeUtf8(std::string_view utf8, std::string& out);

// As EncodeUtf8, but every character that cannot be encoded becomes '?'.
std::string FromUtf8Lenient(std::string_view utf8);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t cp);

} // namespace orv::cp932
