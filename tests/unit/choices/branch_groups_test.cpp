#include "choices/branch_groups.h"
#include "script/script_search.h"
#include "script_lines.h"

#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Lines;
using test::OffsetOfLine;

bool HoldsOne(std::string_view text) {
    return text.find("=1") != std::string_view::npos;
}

TEST(SwitchTarget, ANamedGroupEndsAtItsOwnClosingLine) {
    // An unnamed closing line inside does not end the named group.
    std::string text = Lines({"x", "{:ab(V=0)", "a", "}", "{:ab(V=1)", "b", "}:ab", "after"});
    EXPECT_EQ(SwitchTarget(text, OffsetOfLine(text, "{:ab(V=0)"), "ab", HoldsOne),
              OffsetOfLine(text, "b"));
}

TEST(SwitchTarget, BranchLinesPastTheClosingLineAreNotTaken) {
    std::string text = Lines({"x", "{(V=0)", "a", "}", "after", "{", "b", "}"});
    EXPECT_EQ(SwitchTarget(text, OffsetOfLine(text, "{(V=0)"), "", HoldsOne),
              OffsetOfLine(text, "after"));
}

TEST(SwitchTarget, AGroupThatIsNeverClosedEndsTheScript) {
    std::string text = Lines({"x", "{(V=0)", "a"});
    EXPECT_EQ(SwitchTarget(text, OffsetOfLine(text, "{(V=0)"), "", HoldsOne), kNotFound);
}

TEST(ComputedJumpTarget, HugeNumbersGoOnAfterTheGroup) {
    std::string text = Lines({"x", "{", "a", "{", "b", "}", "after"});
    int32_t from = OffsetOfLine(text, "{");
    EXPECT_EQ(ComputedJumpTarget(text, from, INT32_MAX), OffsetOfLine(text, "}"));
    EXPECT_EQ(ComputedJumpTarget(text, from, INT32_MIN), from);
    EXPECT_EQ(ComputedJumpTarget(text, from, 1), OffsetOfLine(text, "b"));
}

} // namespace
} // namespace orv
