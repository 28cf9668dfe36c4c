#include "choices/choice_record.h"

#include "save/save_io.h"
#include "script/dispatcher.h"
#include "script/variables.h"

#include <algorithm>

namespace orv {

namespace {
constexpr int kMode = cell::ChoiceRecordMode;
constexpr int kCount = cell::ChoiceRecordCount;
constexpr int kPosition = cell::ChoiceReplayPosition;
} // namespace

void ChoiceRecord::Append(int32_t choice) {
    if (m_vars.S(kMode) != kRecording) {
        return;
    }
    int32_t count = m_vars.S(kCount);
    if (count < 0 || count >= kCapacity) {
        return;
    }
    Choices[static_cast<size_t>(count)] = static_cast<uint8_t>(choice);
    m_vars.S(kCount) = count + 1;
}

std::optional<int32_t> ChoiceRecord::NextReplayed() {
    if (m_vars.S(kMode) != kReplaying) {
        return std::nullopt;
    }
    int32_t position = m_vars.S(kPosition);
    int32_t count = m_vars.S(kCount);
    if (position < 0 || position >= count || position >= kCapacity) {
        ResumeRecordingAt(std::clamp(position, 0, std::min(count, kCapacity)));
        return std::nullopt;
    }
    int32_t choice = Choices[static_cast<size_t>(position)];
    ++position;
    m_vars.S(kPosition) = position;
    if (position >= count) {
        ResumeRecordingAt(position);
    }
    return choice;
}

void ChoiceRecord::ResumeRecording() {
    ResumeRecordingAt(m_vars.S(kPosition));
}

void ChoiceRecord::ResumeRecordingAt(int32_t position) {
    m_vars.S(kMode) = kRecording;
    m_vars.S(kCount) = position;
    m_vars.S(kPosition) = position;
}

void ChoiceRecord::SetScriptName(std::string_view name) {
    CopyName(ScriptNameField, name);
}

std::string_view ChoiceRecord::ScriptName() const {
    return FieldText(ScriptNameField);
}

void ChoiceRecord::Exchange(SaveIo& io) {
    io.Name(save_layout::name::ChoiceRecordScript, save_layout::name::kSize, ScriptNameField);
}

} // namespace orv
