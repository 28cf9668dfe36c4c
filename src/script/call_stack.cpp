// Jumps between scripts: chain, call and the return from a call.
#include "engine/engine.h"
#include "save/save_io.h"
#include "script/dispatcher.h"

#include <algorithm>

namespace orv {

namespace {

// How far into the argument a name (and its label) is looked for.
constexpr size_t kChainScan = 128;
constexpr size_t kCallScan = 100;

struct ScriptTargetName {
    std::string_view Name;
    std::string_view Label; // empty: none
};

// `name` or `name:label`, ended by a blank, within the first `scan` bytes.
ScriptTargetName ParseTarget(std::string_view argument, size_t scan) {
    argument = argument.substr(0, std::min(scan, argument.size()));
    argument = argument.substr(0, std::min(argument.find(' '), argument.size()));
    size_t colon = argument.find(':');
    if (colon == std::string_view::npos) {
        return {argument, {}};
    }
    return {argument.substr(0, colon), argument.substr(colon + 1)};
}

} // namespace

void Dispatcher::ResetTextAndWaitState() {
    m_engine.text.ResetTextState();
    m_engine.wait.Reset();
}

void Dispatcher::Exchange(SaveIo& io) {
    namespace record = save_layout::record;
    using save_layout::RecordOffset;
    io.Int(RecordOffset(record::CallDepth), CallDepth);
    io.Ints(RecordOffset(record::CallReturn), CallReturn);
    for (int level = 0; level < kCallStackSize; ++level) {
        io.Name(save_layout::name::CallNames +
                    static_cast<size_t>(level) * save_layout::name::CallNameSize,
                save_layout::name::CallNameSize, CallNames[level]);
    }
    io.Name(save_layout::name::ReturnScriptName, save_layout::name::kSize, ReturnScriptName);
    io.Int(RecordOffset(record::LineStart), LineStart);
}

void Dispatcher::ResetCallStack(std::string_view name) {
    CallDepth = 0;
    CopyName(ReturnScriptName, name);
}

void Dispatcher::Chain(std::string_view argument) {
    ScriptTargetName target = ParseTarget(argument, kChainScan);
    ScriptState& script = m_engine.script;
    CallDepth = 0;
    ResetTextAndWaitState();
    // The return name follows the script only when it loads: a name that failed to load
    // would otherwise be what a later call returns to.
    if (script.LoadScript(target.Name, ScriptTarget::Main)) {
        CopyName(ReturnScriptName, target.Name);
    }
    if (!target.Label.empty()) {
        script.GoToLabel(target.Label);
    }
}

void Dispatcher::Call(std::string_view argument) {
    ScriptTargetName target = ParseTarget(argument, kCallScan);
    // The stack holds nine calls; a deeper one is refused and the script goes on.
    if (CallDepth < 0 || CallDepth >= kCallStackSize) {
        return;
    }
    std::string_view name = target.Name;
    if (name.starts_with('$')) {
        int n = name.size() > 1 && name[1] >= '0' && name[1] <= '9' ? name[1] - '0' : 0;
        name = m_engine.vars.String(n);
    }
    ScriptState& script = m_engine.script;
    CallReturn[CallDepth] = script.ReadPos;
    CopyName(CallNames[CallDepth], FieldText(ReturnScriptName));
    if (!script.LoadScript(name, ScriptTarget::Main)) {
        return;
    }
    CopyName(ReturnScriptName, name);
    ResetTextAndWaitState();
    ++CallDepth;
    if (!target.Label.empty()) {
        script.GoToLabel(target.Label);
    }
}

void Dispatcher::Return() {
    if (CallDepth <= 0) {
        if (m_engine.screens.ReplayMode != 0) {
            m_engine.screens.EndReplay();
        }
        return;
    }
    // A depth beyond the stack (a damaged save) returns from its top entry.
    CallDepth = std::min(CallDepth, kCallStackSize) - 1;
    char name[kNameSize];
    CopyName(name, FieldText(CallNames[CallDepth]));
    ScriptState& script = m_engine.script;
    script.EndLine();
    if (!script.LoadScript(FieldText(name), ScriptTarget::Main)) {
        // The caller is gone from the archives: the called script ends here instead of
        // going on at an offset that belongs to another script.
        script.ReadPos = script.ScriptSize;
        return;
    }
    CopyName(ReturnScriptName, FieldText(name));
    script.ReadPos = CallReturn[CallDepth];
}

} // namespace orv
