#pragma once
// The line interpreter. Each game pass runs one script step: lines are fetched from the main
// buffer and executed by their first byte (assignments and commands at once, text handed to
// the text flow) until one of them has to wait. The call stack and the few names the
// commands keep live here too.

#include "script/expressions.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace orv {

class Engine;
class SaveIo;

// What a command asks of the step.
enum class StepResult : int32_t {
    Continue = 0,   // go on with the next line in the same step
    EndStep = 1,    // end the step; the next pass goes on
    Reclassify = 2, // the line buffer was rewritten (if): classify it again
};

class Dispatcher : public AssignHooks {
public:
    static constexpr int32_t kCallStackSize = 9;
    static constexpr int32_t kNameSize = 30;
    static constexpr int32_t kChapterTitleSize = 64;

    explicit Dispatcher(Engine& engine);
    Dispatcher(const Dispatcher&) = delete;
    Dispatcher& operator=(const Dispatcher&) = delete;

    void ScriptStep();
    // Runs the command line `line` whose word is entry `index` of the command table.
    StepResult ExecuteCommand(int index, std::string_view line);
    // True when the top-level script has run off its end and the step has nothing to do.
    bool AtScriptEnd() const;

    // Control flow, shared with the screens that leave for and return from scenes.
    // chain: the name, optionally `name:label`.
    void Chain(std::string_view argument);
    // call: a name, `name:label`, or `$n`.
    void Call(std::string_view argument);
    // end, and the end of a called script.
    void Return();
    // A saved game keeps the call stack and the line being executed.
    void Exchange(SaveIo& io);
    // Empties the call stack; later calls return to `name`.
    void ResetCallStack(std::string_view name);
    // The page and the waits, before another script takes over.
    void ResetTextAndWaitState();

    // Skip and auto control for everything that needs the player's attention.
    void StopSkipAndAuto(bool force);
    void StopSkip();
    void PrepareForChoice();

    // The store's expressions, with the menus following S000 and S028.
    Expressions expressions;
    int32_t Evaluate(std::string_view text) { return expressions.Evaluate(text); }
    bool Condition(std::string_view text) { return expressions.Condition(text); }
    void Assign(std::string_view text) { expressions.Assign(text); }

    int32_t LineStart = 0; // offset of the line being executed
    int32_t CallDepth = 0;
    char CallNames[kCallStackSize][kNameSize] = {};
    int32_t CallReturn[kCallStackSize] = {};
    char ReturnScriptName[kNameSize] = {}; // the running script as the call stack sees it
    char ChapterTitle[kChapterTitleSize] = {};
    uint8_t PassageRead = 0; // the last mark named a passage already read

private:
    void MenuCellsAssigned() override;
    // Executes the line in LineBuffer; false when the step ends.
    bool ExecuteLine();
    void EndOfScript();

    Engine& m_engine;
};

// Copies `text` into a fixed NUL-terminated field of `size` bytes, cut before the first
// character that does not fit whole; the rest of the field is zeroed.
void CopyField(char* field, size_t size, std::string_view text);
template <size_t N>
void CopyName(char (&field)[N], std::string_view text) {
    CopyField(field, N, text);
}
// The NUL-terminated text of a fixed field that may lack its NUL.
template <size_t N>
std::string_view FieldText(const char (&field)[N]) {
    return {field, ::strnlen(field, N)};
}

} // namespace orv
