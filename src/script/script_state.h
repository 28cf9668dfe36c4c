#pragma once
// The script buffers: the running script, the definition script being read, the line being
// typed, and the loading of scripts from the text archives.

#include "data/archives.h"
#include "data/text_buffer.h"
#include "script/script_search.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace orv {

class SaveIo;

enum class ScriptTarget : int32_t { Main = 1, Definition = 2 };

// What other subsystems do when a script is loaded. The defaults do nothing, so that the
// script buffers work before, and without, the subsystems that fill these in.
struct ScriptLoadHooks {
    virtual ~ScriptLoadHooks() = default;
    // Every load request, whether or not the script exists: the gallery sets the flag of a
    // replay script.
    virtual void ReplayScriptRequested(std::string_view /*name*/) {}
    // A script was read: the recollection list marks its scene seen. The name is upper-cased.
    virtual void SceneEntered(std::string_view /*upperName*/) {}
    // The main buffer holds a new script: the engine sets it running.
    virtual void MainScriptLoaded() {}
};

// Hooks that do nothing; shared by every ScriptState built without its own.
ScriptLoadHooks& NoScriptLoadHooks();

class ScriptState {
public:
    static constexpr int32_t kLineBufferSize = 2048;
    // A saved game keeps the name in a 30-byte field, so a longer name is cut to 29 bytes.
    static constexpr int32_t kScriptNameSize = 30;
    static constexpr int32_t kInsertTextSize = 64;

    explicit ScriptState(Archives& archives, ScriptLoadHooks& hooks = NoScriptLoadHooks());
    // The size and position fields refer into the buffers of this very object.
    ScriptState(const ScriptState&) = delete;
    ScriptState& operator=(const ScriptState&) = delete;

    void SetHooks(ScriptLoadHooks& hooks) { m_hooks = &hooks; }

    // A saved game keeps the line being executed, the position within it and the name.
    void Exchange(SaveIo& io);

    // Loads the text entry `name` into the main or the definition buffer. False when no
    // archive holds it or its entry cannot be read; the buffers, the sizes, ReadPos and
    // CurrentScriptName are then as they were (InsertText is emptied all the same).
    bool LoadScript(std::string_view name, ScriptTarget target);

    // Copies the line at ReadPos into LineBuffer and moves ReadPos past its NUL. False, with
    // nothing changed, when ReadPos is not inside the script: the script has ended.
    bool FetchLine();

    // The searches of script_search.h over the valid bytes of the main buffer.
    int32_t FindLabel(std::string_view label) const;
    int32_t SkipToBlockEnd(int32_t from) const;
    int32_t SkipNamedBlock(int32_t from, std::string_view name) const;
    int32_t FindNamedBlock(int32_t from, std::string_view prefix) const;
    int32_t FindByte(int32_t from, uint8_t byte) const;

    // When the label exists: ReadPos = the line after it, NeedLine = 1, true. Otherwise
    // nothing changes.
    bool GoToLabel(std::string_view label);
    // The next step fetches the line at `offset` (a choice's branch, a branch group's end).
    void JumpTo(int32_t offset) {
        ReadPos = offset;
        NeedLine = 1;
    }
    // The current line is done; the next step fetches the one after it.
    void EndLine() { NeedLine = 1; }

    // The line at `pos` in the definition buffer, without its NUL; `pos` moves past it. At or
    // past DefinitionSize the result is empty and `pos` stays; a negative `pos` is moved to
    // DefinitionSize so that a reader's loop ends. The view lasts until the next load.
    std::string_view DefinitionLine(int32_t& pos) const;

    // The valid bytes of each buffer.
    std::string_view MainText() const { return ValidText(ScriptBuffer); }
    std::string_view DefinitionText() const { return ValidText(DefinitionBuffer); }
    std::string_view CurrentScriptNameText() const;

    TextBuffer ScriptBuffer;
    int32_t& ScriptSize = ScriptBuffer.Size;
    int32_t& ReadPos = ScriptBuffer.ReadPos; // offset of the next line to fetch
    uint8_t NeedLine = 0; // 1: the next step fetches a line; 0: the current line is being typed
    std::array<char, kLineBufferSize> LineBuffer{}; // the current line and its NUL
    int32_t LinePos = 0;                            // next byte of LineBuffer to type

    TextBuffer DefinitionBuffer;
    int32_t& DefinitionSize = DefinitionBuffer.Size;

    std::array<char, kScriptNameSize> CurrentScriptName{}; // NUL-terminated
    std::array<char, kInsertTextSize> InsertText{};        // typed before the rest of the line
    int32_t InsertPtr = 0;                                 // index of its next byte

private:
    static std::string_view ValidText(const TextBuffer& buffer);
    void SetCurrentScriptName(std::string_view name);

    Archives& m_archives;
    ScriptLoadHooks* m_hooks;
};

} // namespace orv
