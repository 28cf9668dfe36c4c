#pragma once
// The record of past text lines behind the backlog: 210 fixed lines of 70 bytes, of which
// the newest 200 finished lines are kept and the line after them is being written. A line
// whose first byte is '@' is a voice entry: the name of a voice played at that point. Every
// other line is text as the text flow typed it (a speaker's name on a line of its own).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orv {

class SaveIo;

class BacklogStore {
public:
    static constexpr int32_t kLineBytes = 70;
    // A line holds at most this many bytes before its zero.
    static constexpr int32_t kMaxLineText = kLineBytes - 1;
    static constexpr int32_t kKeptLines = 200;
    static constexpr int32_t kLines = 210;
    // Saved games hold lines 0..199; the line being written is not kept.
    static constexpr size_t kSavedBytes = static_cast<size_t>(kKeptLines) * kLineBytes;
    static constexpr char kVoiceMark = '@';

    // Every line empty, nothing written.
    void Clear();
    // Characters of code page 932 at the end of the line being written. A character that
    // would take the line past its 69 bytes starts a new line: a long line is split, never
    // cut, and never in the middle of a double-byte character.
    void Append(std::string_view text);
    // The line being written ends; the 201st finished line pushes the oldest one out.
    void Commit();
    // A voice entry as a line of its own: text already written to the current line is
    // committed before it, so that the entry never lands in the middle of a text line. A
    // name longer than the line is cut before the character that does not fit.
    void AppendVoice(std::string_view name);

    // Finished lines, 0 (oldest) .. Count() - 1.
    int32_t Count() const { return m_count; }
    // Byte offset of the next byte to write, always inside line Count().
    int32_t WritePos() const { return m_writePos; }
    // Line `index` (0..Count(), the last being the one written) up to its zero; empty
    // outside that range.
    std::string_view Line(int32_t index) const;
    static bool IsVoiceEntry(std::string_view line) {
        return !line.empty() && line[0] == kVoiceMark;
    }
    // The voice name of a voice entry, empty for a text line.
    static std::string_view VoiceName(std::string_view line) {
        return IsVoiceEntry(line) ? line.substr(1) : std::string_view();
    }

    // A saved game keeps the finished lines, the count and the write position. What a save
    // holds is brought back inside the store: a count outside 0..200 and a position outside
    // its line are clamped, every line ends with its zero, and a line that was being
    // written starts afresh when the save could not hold it.
    void Exchange(SaveIo& io);

private:
    int32_t LineStart() const { return m_count * kLineBytes; }
    // Writes one character of `length` bytes; the caller has made room.
    void Put(std::string_view character);

    std::array<char, static_cast<size_t>(kLines) * kLineBytes> m_bytes{};
    int32_t m_count = 0;
    int32_t m_writePos = 0;
};

} // namespace orv
