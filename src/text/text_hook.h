#pragma once
// The text hook: every committed text line handed out as UTF-8, for players who read along
// with a dictionary and for screen readers. Lines are gathered and converted in fixed
// buffers, so that a line costs no allocation.

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace orv {

using TextHookSink = std::function<void(std::string_view utf8Line)>;

class TextHook {
public:
    // Bytes of one line kept; a longer line (no layout holds one) is cut.
    static constexpr size_t kLineBytes = 1024;

    void SetSink(TextHookSink sink) { m_sink = std::move(sink); }
    bool Active() const { return static_cast<bool>(m_sink); }

    // Code page 932 bytes of the line being typed.
    void Append(std::string_view bytes);
    // Hands the gathered line to the sink (when it holds anything) and starts a new one.
    void Commit();
    void Discard() { m_used = 0; }

private:
    TextHookSink m_sink;
    std::array<char, kLineBytes> m_line{};
    size_t m_used = 0;
    std::array<char, kLineBytes * 2> m_utf8{}; // a double-byte character takes 3 bytes
};

} // namespace orv
