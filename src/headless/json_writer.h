#pragma once
// A small JSON writer for state dumps: objects put one member a line, arrays stay on one
// line, so that dumps of two runs compare line by line.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member of the enclosing object.
    void Key(std::string_view name);
    void String(std::string_view utf8);
    void Integer(int64_t value);
    void Bool(bool value);

    // The text written so far, ending in a newline once the outermost value is closed.
    const std::string& Text() const { return m_out; }

private:
    struct Level {
        bool IsObject;
        bool Empty = true;
    };

    // Separator and indentation before a value or a key.
    void BeforeValue();
    void Indent();
    void Quoted(std::string_view text);

    std::string m_out;
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

} // namespace orv
