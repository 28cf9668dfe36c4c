#pragma once
// The list of choices that `select` and `clickmap` read from the branch lines of a group:
// for each branch its text, where its lines start and, for click maps, whether it may be
// taken. Fixed arrays: a group is read in place, whatever the script holds.

#include <cstdint>
#include <string_view>

namespace orv {

constexpr int kMaxChoices = 32;
// A choice text keeps at most this many bytes; longer lines are cut at a character boundary.
constexpr int kChoiceTextBytes = 64;

enum class ChoiceListKind { Select, ClickMap };

// What reading a list needs from the variable store.
class ChoiceListSource {
public:
    virtual ~ChoiceListSource() = default;
    // The condition text from its '(' on.
    virtual bool Condition(std::string_view text) = 0;
    // String variable $n, n in 0..9.
    virtual std::string_view StringVariable(int n) = 0;
};

struct ChoiceText {
    char Bytes[kChoiceTextBytes + 1] = {};
    std::string_view View() const;
    void Set(std::string_view text);
};

struct ChoiceBranch {
    ChoiceText Text;
    int32_t Offset = 0;  // where the branch's lines start in the script
    bool Enabled = true; // click maps count a false condition but disable the branch
};

struct ChoiceList {
    int32_t Count = 0;
    // The group's closing '}' line, where a branch that names no lines continues.
    int32_t ClosingOffset = 0;
    // Entry k - 1 is choice k.
    ChoiceBranch Branches[kMaxChoices];
    // The `@n` branch of a click map: ticks before it is taken, and its number (0: none).
    int32_t TimeoutTicks = 0;
    int32_t TimeoutChoice = 0;

    // The offset of choice k; the closing line for a number outside the list.
    int32_t OffsetOf(int32_t k) const;
    // The longest choice text in bytes.
    int32_t LongestText() const;
};

// Reads the branch lines of the group that starts at `from` (the line after the command).
// At most kMaxChoices choices are read; further branches stay in the script unread and can
// be neither shown nor taken.
void ReadChoiceList(std::string_view script, int32_t from, ChoiceListKind kind,
                    ChoiceListSource& source, ChoiceList& list);

} // namespace orv
