#include "choices/choice_list.h"

#include "base/cp932.h"
#include "script/script_search.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

constexpr int32_t kTimeoutTicksPerUnit = 20;
// `@n` limits are read as at most this many digits, so that n x 20 cannot overflow.
constexpr int kTimeoutDigits = 6;

// The number written at the start of `text` (decimal digits only).
int32_t LeadingNumber(std::string_view text) {
    int32_t value = 0;
    for (size_t i = 0; i < text.size() && i < kTimeoutDigits; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            break;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

struct BranchLine {
    std::string_view Rest; // the line after its condition
    bool ConditionHolds = true;
};

// Evaluates the condition that may open a branch line (after its '{').
BranchLine ReadCondition(std::string_view line, ChoiceListSource& source) {
    BranchLine branch{line};
    if (line.empty() || line.front() != '(') {
        return branch;
    }
    size_t close = line.find(')');
    std::string_view condition = line.substr(0, close);
    branch.ConditionHolds = source.Condition(condition);
    branch.Rest = close == std::string_view::npos ? std::string_view() : line.substr(close + 1);
    return branch;
}

// Fills one branch from the text after its condition. `restOffset` is where that text starts
// in the script; `next` is the line after the branch line.
void ReadBranch(std::string_view rest, int32_t restOffset, int32_t next, ChoiceListKind kind,
                int32_t number, ChoiceListSource& source, ChoiceList& list, ChoiceBranch& branch) {
    branch.Offset = next;
    if (kind == ChoiceListKind::Select && !rest.empty() && rest.front() == '$') {
        // The branch begins right after the digit, on the branch line itself.
        int n = rest.size() > 1 && rest[1] >= '0' && rest[1] <= '9' ? rest[1] - '0' : 0;
        branch.Text.Set(source.StringVariable(n));
        if (rest.size() > 1) {
            branch.Offset = restOffset + 2;
        }
        return;
    }
    if (kind == ChoiceListKind::ClickMap && !rest.empty() && rest.front() == '@') {
        list.TimeoutTicks = LeadingNumber(rest.substr(1)) * kTimeoutTicksPerUnit;
        list.TimeoutChoice = number;
        return;
    }
    branch.Text.Set(rest);
}

} // namespace

std::string_view ChoiceText::View() const {
    return {Bytes, ::strnlen(Bytes, sizeof Bytes)};
}

void ChoiceText::Set(std::string_view text) {
    size_t length = cp932::CutToWholeChars(text, kChoiceTextBytes).size();
    std::memset(Bytes, 0, sizeof Bytes);
    if (length > 0) {
        std::memcpy(Bytes, text.data(), length);
    }
}

int32_t ChoiceList::OffsetOf(int32_t k) const {
    return k >= 1 && k <= Count ? Branches[k - 1].Offset : ClosingOffset;
}

int32_t ChoiceList::LongestText() const {
    size_t longest = 0;
    for (int i = 0; i < Count; ++i) {
        longest = std::max(longest, Branches[i].Text.View().size());
    }
    return static_cast<int32_t>(longest);
}

void ReadChoiceList(std::string_view script, int32_t from, ChoiceListKind kind,
                    ChoiceListSource& source, ChoiceList& list) {
    list = ChoiceList{};
    int32_t pos = from;
    int32_t branchNumber = 0;
    for (int read = 0; read < kMaxChoices; ++read) {
        int32_t open = NextLineStartingWith(script, pos, '{');
        int32_t close = NextLineStartingWith(script, pos, '}');
        list.ClosingOffset = close;
        if (open >= close) {
            return;
        }
        pos = LineAfter(script, open);
        std::string_view line = LineText(script, open).substr(1);
        BranchLine branchLine = ReadCondition(line, source);
        if (!branchLine.ConditionHolds && kind == ChoiceListKind::Select) {
            continue;
        }
        ChoiceBranch& branch = list.Branches[branchNumber];
        ++branchNumber;
        list.Count = branchNumber;
        branch.Enabled = branchLine.ConditionHolds;
        auto restOffset = static_cast<int32_t>(branchLine.Rest.data() - script.data());
        if (branchLine.Rest.empty()) {
            restOffset = pos - 1;
        }
        ReadBranch(branchLine.Rest, restOffset, pos, kind, branchNumber, source, list, branch);
    }
    // A full list: the closing line still bounds the branches that were read.
    list.ClosingOffset = NextLineStartingWith(script, pos, '}');
}

} // namespace orv
