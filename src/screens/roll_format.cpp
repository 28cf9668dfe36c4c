#include "screens/roll_format.h"

#include "base/cp932.h"

#include <algorithm>
#include <limits>

namespace orv::roll {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits from `i`, saturating; `i` moves past them.
int64_t Digits(std::string_view text, size_t& i) {
    int64_t value = 0;
    while (i < text.size() && IsDigit(text[i])) {
        value = std::min<int64_t>(value * 10 + (text[i] - '0'),
                                  int64_t{std::numeric_limits<int32_t>::max()} + 1);
        ++i;
    }
    return value;
}

int32_t Saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int32_t ClampTo(int32_t value, int32_t limit) {
    return std::clamp(value, 0, limit);
}

} // namespace

int32_t Number(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = Digits(text, i);
    return Saturate(negative ? -value : value);
}

size_t DigitRuns(std::string_view text, std::span<int32_t> out) {
    size_t found = 0;
    size_t i = 0;
    while (found < out.size()) {
        while (i < text.size() && !IsDigit(text[i])) {
            ++i;
        }
        if (i >= text.size()) {
            break;
        }
        out[found++] = Saturate(Digits(text, i));
    }
    return found;
}

size_t CommaNumbers(std::string_view text, std::span<int32_t> out) {
    size_t found = 0;
    while (found < out.size()) {
        size_t comma = text.find(',');
        out[found++] = Number(text.substr(0, comma));
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    return found;
}

bool ReadTextRollCommand(std::string_view line, TextRollCommand& out) {
    if (line.empty() || (line[0] != '*' && line[0] != '@')) {
        return false;
    }
    size_t i = 1;
    out.WordLength = 0;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        if (out.WordLength < out.WordBuffer.size() - 1) {
            char c = line[i];
            out.WordBuffer[out.WordLength++] =
                c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
        ++i;
    }
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
        ++i;
    }
    out.Argument = line.substr(std::min(i, line.size()));
    return true;
}

Rect NormaliseWindow(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    int32_t left = ClampTo(std::min(x1, x2), kScreenWidth);
    int32_t right = ClampTo(std::max(x1, x2), kScreenWidth);
    int32_t top = ClampTo(std::min(y1, y2), kScreenHeight);
    int32_t bottom = ClampTo(std::max(y1, y2), kScreenHeight);
    return Rect{left, top, right - left, bottom - top};
}

AlignedLine AlignPageLine(std::string_view line, int32_t boxWidth, int32_t pitch) {
    AlignedLine aligned{line, 0};
    // Lines are bounded in bytes and pitches in pixels, so these products stay small.
    auto width = [&](std::string_view text) { return static_cast<int32_t>(text.size()) * pitch; };
    if (!line.empty() && line[0] == '<') {
        aligned.Text = line.substr(1);
    } else if (!line.empty() && line[0] == '>') {
        aligned.Text = line.substr(1);
        aligned.Offset = boxWidth - width(aligned.Text);
    } else {
        aligned.Offset = (boxWidth - width(line)) / 2;
    }
    return aligned;
}

void RollText::Append(std::string_view line) {
    if (m_count >= kMaxLines) {
        return;
    }
    size_t keep = 0;
    while (keep < line.size()) {
        size_t length = cp932::CharLength(line, keep);
        if (keep + length > kMaxBytes) {
            break;
        }
        keep += length;
    }
    keep = std::min(keep, line.size());
    std::copy_n(line.begin(), keep, m_lines[m_count].begin());
    m_lengths[m_count] = keep;
    ++m_count;
}

} // namespace orv::roll
