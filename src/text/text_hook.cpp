#include "text/text_hook.h"

#include "base/cp932.h"

#include <algorithm>
#include <cstring>

namespace orv {

void TextHook::Append(std::string_view bytes) {
    if (!m_sink || bytes.empty()) {
        return;
    }
    size_t take = std::min(bytes.size(), m_line.size() - m_used);
    std::memcpy(m_line.data() + m_used, bytes.data(), take);
    m_used += take;
}

void TextHook::Commit() {
    if (!m_sink || m_used == 0) {
        m_used = 0;
        return;
    }
    std::string_view line(m_line.data(), m_used);
    size_t out = 0;
    size_t pos = 0;
    while (pos < line.size()) {
        size_t length = cp932::CharLength(line, pos);
        char32_t cp = cp932::DecodeChar(cp932::CharCode(line.substr(pos, length)));
        pos += length;
        char encoded[4];
        size_t n = 0;
        if (cp < 0x80) {
            encoded[n++] = static_cast<char>(cp);
        } else if (cp < 0x800) {
            encoded[n++] = static_cast<char>(0xC0 | (cp >> 6));
            encoded[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            encoded[n++] = static_cast<char>(0xE0 | (cp >> 12));
            encoded[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            encoded[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        }
        if (out + n > m_utf8.size()) {
            break;
        }
        std::memcpy(m_utf8.data() + out, encoded, n);
        out += n;
    }
    m_used = 0;
    m_sink(std::string_view(m_utf8.data(), out));
}

} // namespace orv
