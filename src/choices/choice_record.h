#pragma once
// The record of the player's choices that `rec` starts: one byte per choice taken, kept
// with saved games, and replayed choice by choice when S161 is 2. S161 (mode), S162 (count)
// and S163 (replay position) live in the variable store, where scripts and saves reach
// them; the record checks them before every use, as a script may have set them to anything.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orv {

class SaveIo;
class VariableStore;

class ChoiceRecord {
public:
    static constexpr int32_t kCapacity = 4096;
    static constexpr int32_t kScriptNameSize = 30;
    static constexpr int32_t kOff = 0;
    static constexpr int32_t kRecording = 1;
    static constexpr int32_t kReplaying = 2;

    explicit ChoiceRecord(VariableStore& vars) : m_vars(vars) {}

    // While recording: appends the choice number. A full record takes no more choices (the
    // count stays at the capacity), so a long play-through never writes past it.
    void Append(int32_t choice);

    // While replaying: the choice at the replay position, which then moves on; when it
    // reaches the count, recording resumes from there. Nothing when not replaying, or when
    // the position or the count lies outside the record (recording then resumes at the
    // position, clamped to the record).
    std::optional<int32_t> NextReplayed();
    // Recording goes on from the replay position (the return to the title).
    void ResumeRecording();

    // The script that was running when `rec` started; saved games keep it.
    void SetScriptName(std::string_view name);
    std::string_view ScriptName() const;
    void Exchange(SaveIo& io);

    std::array<uint8_t, kCapacity> Choices{};
    char ScriptNameField[kScriptNameSize] = {};

private:
    void ResumeRecordingAt(int32_t position);

    VariableStore& m_vars;
};

} // namespace orv
