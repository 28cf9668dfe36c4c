#include "choices/branch_groups.h"

#include "choices/choice_list.h"
#include "script/script_search.h"

namespace orv {

namespace {

// The next branch line of the group at or after `pos`, and the text after its name.
struct BranchLine {
    int32_t Offset = kNotFound;
    std::string_view AfterName;
};

BranchLine NextBranchLine(std::string_view script, int32_t pos, std::string_view name) {
    BranchLine branch;
    if (name.empty()) {
        branch.Offset = NextLineStartingWith(script, pos, '{');
        branch.AfterName =
            LineText(script, branch.Offset).substr(branch.Offset == kNotFound ? 0 : 1);
    } else {
        branch.Offset = FindNamedBlock(script, pos, name);
        std::string_view line = LineText(script, branch.Offset);
        branch.AfterName = line.size() >= 2 + name.size() ? line.substr(2 + name.size()) : "";
    }
    return branch;
}

} // namespace

int32_t SwitchTarget(std::string_view script, int32_t from, std::string_view name,
                     const ConditionTest& condition) {
    int32_t closing =
        name.empty() ? SkipToBlockEnd(script, from) : SkipNamedBlock(script, from, name);
    int32_t pos = from;
    while (true) {
        BranchLine branch = NextBranchLine(script, pos, name);
        if (branch.Offset == kNotFound || branch.Offset >= closing) {
            break;
        }
        pos = LineAfter(script, branch.Offset);
        std::string_view text = branch.AfterName;
        // A longer name that begins with this one belongs to another group: passed over.
        if (text.empty() || (text.front() == '(' && condition(text))) {
            return pos;
        }
    }
    return closing == kNotFound ? kNotFound : LineAfter(script, closing);
}

int32_t ComputedJumpTarget(std::string_view script, int32_t from, int32_t n) {
    int32_t closing = SkipToBlockEnd(script, from);
    int32_t pos = from;
    for (int32_t i = 0;; ++i) {
        int32_t open = NextLineStartingWith(script, pos, '{');
        if (open == kNotFound || open > closing) {
            return closing;
        }
        if (n < 0) {
            return open;
        }
        if (i == n) {
            return LineAfter(script, open);
        }
        pos = LineAfter(script, open);
    }
}

} // namespace orv
