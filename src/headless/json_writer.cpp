#include "headless/json_writer.h"

namespace orv {

void JsonWriter::Indent() {
    m_out += '\n';
    for (const Level& level : m_levels) {
        if (level.IsObject) {
            m_out += "  ";
        }
    }
}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty()) {
        return;
    }
    Level& level = m_levels.back();
    if (!level.Empty) {
        m_out += level.IsObject ? "," : ", ";
    }
    level.Empty = false;
    if (level.IsObject) {
        Indent();
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    m_out += '{';
    m_levels.push_back(Level{true});
}

void JsonWriter::EndObject() {
    bool empty = m_levels.back().Empty;
    m_levels.pop_back();
    if (!empty) {
        Indent();
    }
    m_out += '}';
    if (m_levels.empty()) {
        m_out += '\n';
    }
}

void JsonWriter::BeginArray() {
    BeforeValue();
    m_out += '[';
    m_levels.push_back(Level{false});
}

void JsonWriter::EndArray() {
    m_levels.pop_back();
    m_out += ']';
    if (m_levels.empty()) {
        m_out += '\n';
    }
}

void JsonWriter::Key(std::string_view name) {
    BeforeValue();
    Quoted(name);
    m_out += ": ";
    m_afterKey = true;
}

void JsonWriter::String(std::string_view utf8) {
    BeforeValue();
    Quoted(utf8);
}

void JsonWriter::Integer(int64_t value) {
    BeforeValue();
    m_out += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    m_out += value ? "true" : "false";
}

void JsonWriter::Quoted(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    m_out += '"';
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            m_out += "\\\"";
            break;
        case '\\':
            m_out += "\\\\";
            break;
        case '\n':
            m_out += "\\n";
            break;
        case '\r':
            m_out += "\\r";
            break;
        case '\t':
            m_out += "\\t";
            break;
        case '\b':
            m_out += "\\b";
            break;
        case '\f':
            m_out += "\\f";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                m_out += "\\u00";
                m_out += kHex[byte >> 4];
                m_out += kHex[byte & 15];
            } else {
                m_out += c;
            }
        }
    }
    m_out += '"';
}

} // namespace orv
