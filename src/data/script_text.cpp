#include "data/script_text.h"

#include "base/cp932.h"
#include "data/text_buffer.h"

#include <cstdint>
#include <cstdio>

namespace orv {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

// Names the character at `pos` for an error message. EncodeUtf8 has already refused it, so
// this only has to tell a real character (shown with its code point) from a broken sequence.
std::string DescribeCharAt(std::string_view text, size_t pos) {
    auto lead = static_cast<uint8_t>(text[pos]);
    size_t length = lead < 0x80             ? 1
                    : (lead & 0xE0) == 0xC0 ? 2
                    : (lead & 0xF0) == 0xE0 ? 3
                    : (lead & 0xF8) == 0xF0 ? 4
                                            : 0;
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    bool whole = length > 0 && pos + length <= text.size();
    for (size_t i = 1; whole && i < length; ++i) {
        auto b = static_cast<uint8_t>(text[pos + i]);
        whole = (b & 0xC0) == 0x80;
        cp = cp << 6 | (b & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    char buffer[64];
    if (!whole || cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        std::snprintf(buffer, sizeof buffer, "the byte 0x%02X, which is not valid UTF-8", lead);
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, " (U+%04X)", static_cast<unsigned>(cp));
    return "the character '" + std::string(text.substr(pos, length)) + "'" + buffer;
}

size_t ColumnOf(std::string_view line, size_t pos) {
    size_t column = 1;
    for (size_t i = 0; i < pos && i < line.size(); ++i) {
        if ((static_cast<uint8_t>(line[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return column;
}

bool Fail(size_t line, std::string message, size_t* errorLine, std::string* errorMessage) {
    if (errorLine) {
        *errorLine = line;
    }
    if (errorMessage) {
        *errorMessage = std::move(message);
    }
    return false;
}

} // namespace

bool EncodeScriptText(std::string_view utf8Text, Bytes& out, size_t* errorLine,
                      std::string* errorMessage) {
    out.clear();
    if (utf8Text.starts_with(kByteOrderMark)) {
        utf8Text.remove_prefix(kByteOrderMark.size());
    }
    out.reserve(utf8Text.size() + 1);
    std::string encoded;
    size_t lineNumber = 0;
    size_t pos = 0;
    while (pos < utf8Text.size()) {
        ++lineNumber;
        size_t end = utf8Text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = utf8Text.size();
        }
        std::string_view line = utf8Text.substr(pos, end - pos);
        pos = end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        // A NUL would end the script line early and shift every line after it.
        if (size_t nul = line.find('\0'); nul != std::string_view::npos) {
            return Fail(lineNumber,
                        "column " + std::to_string(ColumnOf(line, nul)) +
                            ": a NUL character cannot stand inside a script line",
                        errorLine, errorMessage);
        }
        if (size_t bad = cp932::EncodeUtf8(line, encoded); bad != std::string_view::npos) {
            return Fail(lineNumber,
                        "column " + std::to_string(ColumnOf(line, bad)) + ": " +
                            DescribeCharAt(line, bad) + " cannot be written in code page 932",
                        errorLine, errorMessage);
        }
        if (encoded.size() > kMaxScriptLineBytes) {
            return Fail(lineNumber,
                        "the line takes " + std::to_string(encoded.size()) +
                            " bytes in code page 932; a script line holds at most " +
                            std::to_string(kMaxScriptLineBytes),
                        errorLine, errorMessage);
        }
        out.insert(out.end(), encoded.begin(), encoded.end());
        out.push_back(0);
        if (out.size() > static_cast<size_t>(TextBuffer::Capacity)) {
            return Fail(lineNumber,
                        "the script grows past " + std::to_string(TextBuffer::Capacity) +
                            " bytes here, more than the engine reads of a script",
                        errorLine, errorMessage);
        }
    }
    return true;
}

std::string DecodeScriptText(ByteSpan bytes, ScriptDecodeNotes* notes) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    size_t lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        ++lineNumber;
        // NUL is never the trail byte of a double-byte character, so splitting first is safe.
        size_t end = text.find('\0', pos);
        bool terminated = end != std::string_view::npos;
        if (!terminated) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        size_t start = out.size();
        out += cp932::ToUtf8(line);
        if (notes) {
            if (out.find(kUtf8Replacement, start) != std::string::npos) {
                notes->UndefinedByteLines.push_back(lineNumber);
            }
            if (line.find_first_of("\r\n") != std::string_view::npos) {
                notes->LineBreakLines.push_back(lineNumber);
            }
            if (!terminated) {
                notes->UnterminatedLastLine = true;
            }
        }
        out.push_back('\n');
    }
    return out;
}

} // namespace orv
