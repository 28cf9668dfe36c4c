#include "screens/kept_script.h"

#include "engine/engine.h"

#include <algorithm>
#include <cstring>

namespace orv {

void KeptScript::Keep(const Engine& engine) {
    const Dispatcher& d = engine.dispatcher;
    ScriptName = engine.script.CurrentScriptName;
    std::memcpy(ReturnScriptName, d.ReturnScriptName, sizeof ReturnScriptName);
    ReadPos = engine.script.ReadPos;
    LineStart = d.LineStart;
    CallDepth = d.CallDepth;
    std::memcpy(CallNames, d.CallNames, sizeof CallNames);
    std::memcpy(CallReturn, d.CallReturn, sizeof CallReturn);
}

void KeptScript::Restore(Engine& engine) const {
    Dispatcher& d = engine.dispatcher;
    std::string_view name(ScriptName.data(), ::strnlen(ScriptName.data(), ScriptName.size()));
    engine.script.LoadScript(name, ScriptTarget::Main);
    engine.script.ReadPos = ReadPos;
    d.LineStart = LineStart;
    d.CallDepth = std::clamp(CallDepth, 0, Dispatcher::kCallStackSize);
    std::memcpy(d.CallNames, CallNames, sizeof CallNames);
    std::memcpy(d.CallReturn, CallReturn, sizeof CallReturn);
    // Without the name, the first `end` after a later `call` would return to the scene that
    // was replayed rather than to this script.
    std::memcpy(d.ReturnScriptName, ReturnScriptName, sizeof ReturnScriptName);
}

} // namespace orv
