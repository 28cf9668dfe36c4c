#pragma once
// The fields of effect definitions and of the bg_anim argument: separated by ',' or ':',
// blanks around a field dropped. Unlike the command fields of SplitFields there is no limit
// of 32 fields or 30 bytes: an effect line holds up to 200 fields and a sequence 128
// characters. Reading never allocates.

#include <string_view>

namespace orv {

class FieldCursor {
public:
    explicit FieldCursor(std::string_view text) : m_text(text) {}

    // True once every field has been read.
    bool AtEnd() const { return m_done; }

    // The next field, trimmed; empty past the last one.
    std::string_view Next() {
        if (m_done) {
            return {};
        }
        size_t end = m_text.find_first_of(",:", m_pos);
        std::string_view field = m_text.substr(m_pos, end == std::string_view::npos ? end : end - m_pos);
        if (end == std::string_view::npos) {
            m_done = true;
        } else {
            m_pos = end + 1;
        }
        while (!field.empty() && IsBlank(field.front())) {
            field.remove_prefix(1);
        }
        while (!field.empty() && IsBlank(field.back())) {
            field.remove_suffix(1);
        }
        return field;
    }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

    std::string_view m_text;
    size_t m_pos = 0;
    bool m_done = false;
};

} // namespace orv
