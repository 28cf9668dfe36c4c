#pragma once
// The running script's place kept while a replayed scene takes the script over, and put back
// when the scene ends: the script and its read position, and the whole call stack with the
// name a later `call` returns to.

#include "script/dispatcher.h"
#include "script/script_state.h"

#include <array>
#include <cstdint>

namespace orv {

class Engine;

struct KeptScript {
    std::array<char, ScriptState::kScriptNameSize> ScriptName{};
    char ReturnScriptName[Dispatcher::kNameSize] = {};
    int32_t ReadPos = 0;
    int32_t LineStart = 0;
    int32_t CallDepth = 0;
    char CallNames[Dispatcher::kCallStackSize][Dispatcher::kNameSize] = {};
    int32_t CallReturn[Dispatcher::kCallStackSize] = {};

    void Keep(const Engine& engine);
    // The kept script loaded into the main buffer again, at its kept line, with its stack.
    void Restore(Engine& engine) const;
};

} // namespace orv
