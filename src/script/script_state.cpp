#include "script/script_state.h"

#include "save/save_io.h"

#include "base/cp932.h"

#include <algorithm>
#include <cstring>

namespace orv {

ScriptLoadHooks& NoScriptLoadHooks() {
    static ScriptLoadHooks none;
    return none;
}

ScriptState::ScriptState(Archives& archives, ScriptLoadHooks& hooks)
    : m_archives(archives), m_hooks(&hooks) {}

bool ScriptState::LoadScript(std::string_view name, ScriptTarget target) {
    m_hooks->ReplayScriptRequested(name);
    InsertText[0] = '\0';
    InsertPtr = 0;

    // ReadTextEntry looks in ov_data2.orv, then ov_data.orv, and leaves the buffer as it was
    // when it fails, so nothing below happens for a missing or unreadable script: the scene
    // is not marked seen, and the running script keeps its name.
    TextBuffer& buffer = target == ScriptTarget::Main ? ScriptBuffer : DefinitionBuffer;
    if (!m_archives.ReadTextEntry(name, buffer)) {
        return false;
    }
    m_hooks->SceneEntered(cp932::UpperCase(name));
    if (target == ScriptTarget::Main) {
        SetCurrentScriptName(name);
        NeedLine = 1;
        m_hooks->MainScriptLoaded();
    }
    return true;
}

bool ScriptState::FetchLine() {
    std::string_view text = MainText();
    if (ReadPos < 0 || ReadPos >= static_cast<int32_t>(text.size())) {
        return false;
    }
    auto start = static_cast<size_t>(ReadPos);
    size_t nul = text.find('\0', start);
    size_t end = nul == std::string_view::npos ? text.size() : nul;
    std::string_view line = text.substr(start, end - start);

    // Lines longer than the buffer are outside the format; keep what fits, and never split a
    // double-byte character, whose lead byte would otherwise swallow the NUL.
    size_t keep = line.size();
    if (keep >= LineBuffer.size()) {
        keep = 0;
        while (true) {
            size_t length = cp932::CharLength(line, keep);
            if (keep + length > LineBuffer.size() - 1) {
                break;
            }
            keep += length;
        }
    }
    std::memcpy(LineBuffer.data(), line.data(), keep);
    LineBuffer[keep] = '\0';
    ReadPos = static_cast<int32_t>(std::min(end + 1, text.size()));
    LinePos = 0;
    return true;
}

int32_t ScriptState::FindLabel(std::string_view label) const {
    return orv::FindLabel(MainText(), label);
}

int32_t ScriptState::SkipToBlockEnd(int32_t from) const {
    return orv::SkipToBlockEnd(MainText(), from);
}

int32_t ScriptState::SkipNamedBlock(int32_t from, std::string_view name) const {
    return orv::SkipNamedBlock(MainText(), from, name);
}

int32_t ScriptState::FindNamedBlock(int32_t from, std::string_view prefix) const {
    return orv::FindNamedBlock(MainText(), from, prefix);
}

int32_t ScriptState::FindByte(int32_t from, uint8_t byte) const {
    return orv::FindByte(MainText(), from, byte);
}

bool ScriptState::GoToLabel(std::string_view label) {
    int32_t offset = FindLabel(label);
    if (offset < 0) {
        return false;
    }
    ReadPos = offset;
    NeedLine = 1;
    return true;
}

std::string_view ScriptState::DefinitionLine(int32_t& pos) const {
    std::string_view text = DefinitionText();
    auto size = static_cast<int32_t>(text.size());
    if (pos < 0) {
        pos = size;
    }
    if (pos >= size) {
        return {};
    }
    auto start = static_cast<size_t>(pos);
    size_t nul = text.find('\0', start);
    size_t end = nul == std::string_view::npos ? text.size() : nul;
    pos = static_cast<int32_t>(std::min(end + 1, text.size()));
    return text.substr(start, end - start);
}

std::string_view ScriptState::CurrentScriptNameText() const {
    return {CurrentScriptName.data(), ::strnlen(CurrentScriptName.data(), kScriptNameSize)};
}

void ScriptState::Exchange(SaveIo& io) {
    namespace record = save_layout::record;
    using save_layout::RecordOffset;
    io.Bytes(save_layout::kLineBuffer, LineBuffer);
    io.Name(save_layout::name::CurrentScriptName, save_layout::name::kSize, CurrentScriptName);
    io.Int(RecordOffset(record::NeedLine), NeedLine);
    io.Int(RecordOffset(record::ResumePosition), ReadPos);
    io.Int(RecordOffset(record::ScriptSize), ScriptSize);
    io.Int(RecordOffset(record::LinePos), LinePos);
    if (io.Reading()) {
        LineBuffer.back() = '\0';
        ScriptSize = std::clamp(ScriptSize, 0, TextBuffer::Capacity);
        LinePos = std::clamp(LinePos, 0, kLineBufferSize - 1);
    }
}

std::string_view ScriptState::ValidText(const TextBuffer& buffer) {
    // Size is public; a value outside the buffer must not turn into a read outside it.
    int32_t size = std::clamp(buffer.Size, 0, TextBuffer::Capacity);
    return {buffer.Chars(), static_cast<size_t>(size)};
}

void ScriptState::SetCurrentScriptName(std::string_view name) {
    size_t length = std::min(name.size(), CurrentScriptName.size() - 1);
    std::memcpy(CurrentScriptName.data(), name.data(), length);
    std::fill(CurrentScriptName.begin() + static_cast<ptrdiff_t>(length), CurrentScriptName.end(),
              '\0');
}

} // namespace orv
