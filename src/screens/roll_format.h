#pragma once
// Readers for the two staff-roll languages: the text-window roll of `roll` (command lines
// starting with `*` or `@`, text lines between them) and the page roll of `sroll` (`@`
// commands, `{` starting a page, text lines). The rolls are game data: every reader is
// bounded and saturates instead of overflowing.

#include "gfx/surface.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace orv::roll {

// A number: blanks, an optional sign and the digits after it, ending at the first other
// character; 0 without digits. Saturates at the limits of 32 bits.
int32_t Number(std::string_view text);

// Up to out.size() numbers, each a run of digits; anything else separates them (the four
// numbers of WIN). Returns how many were found; the rest of `out` is left alone.
size_t DigitRuns(std::string_view text, std::span<int32_t> out);

// Comma-separated fields, each read by Number (the arguments of @SIZE and @WIN). Returns
// how many fields there were, at most out.size().
size_t CommaNumbers(std::string_view text, std::span<int32_t> out);

// A command line of the text-window roll: the word after `*` or `@` (at most 10
// characters, upper-cased) and the argument after the blanks that end it.
struct TextRollCommand {
    std::array<char, 11> WordBuffer{};
    size_t WordLength = 0;
    std::string_view Argument;
    std::string_view Word() const { return {WordBuffer.data(), WordLength}; }
};
// False for a text line.
bool ReadTextRollCommand(std::string_view line, TextRollCommand& out);

// The window of WIN as left, top, width and height: corners in either order, clipped to the
// screen. Empty when nothing of it lies on the screen.
Rect NormaliseWindow(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// A line of a page: a leading `<` aligns it left, `>` right (the mark is not drawn);
// anything else is centred. The offset is from the box's left edge, for `length` bytes of
// `pitch` pixels.
struct AlignedLine {
    std::string_view Text;
    int32_t Offset = 0;
};
AlignedLine AlignPageLine(std::string_view line, int32_t boxWidth, int32_t pitch);

// Lines of roll text kept between commands: at most kMaxLines lines of at most kMaxBytes
// bytes (a double-byte character is never split). Further lines are dropped.
class RollText {
public:
    static constexpr size_t kMaxLines = 40;
    static constexpr size_t kMaxBytes = 160;

    void Clear() { m_count = 0; }
    void Append(std::string_view line);
    size_t Count() const { return m_count; }
    std::string_view Line(size_t i) const {
        return {m_lines[i].data(), m_lengths[i]};
    }

private:
    std::array<std::array<char, kMaxBytes>, kMaxLines> m_lines{};
    std::array<size_t, kMaxLines> m_lengths{};
    size_t m_count = 0;
};

} // namespace orv::roll
