#include "choices/choice_list.h"
#include "script/script_search.h"
#include "script_lines.h"

#include <initializer_list>
#include <map>
#include <string>

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Lines;
using test::OffsetOfLine;

// Conditions by their text; `$n` texts from a table.
class FakeSource : public ChoiceListSource {
public:
    bool Condition(std::string_view text) override {
        Asked.emplace_back(text);
        return std::string(text).find("=1") != std::string::npos;
    }
    std::string_view StringVariable(int n) override { return Strings[n]; }

    std::vector<std::string> Asked;
    std::map<int, std::string> Strings;
};

TEST(ChoiceListSelect, LeavesOutChoicesWhoseConditionIsFalse) {
    std::string text =
        Lines({"{First", "a", "{(V001=0)Second", "b", "{(V001=1)Third", "c", "}", "d"});
    FakeSource source;
    ChoiceList list;
    ReadChoiceList(text, 0, ChoiceListKind::Select, source, list);
    ASSERT_EQ(list.Count, 2);
    EXPECT_EQ(list.Branches[0].Text.View(), "First");
    EXPECT_EQ(list.Branches[1].Text.View(), "Third");
    EXPECT_EQ(list.Branches[1].Offset, OffsetOfLine(text, "c"));
    EXPECT_EQ(list.ClosingOffset, OffsetOfLine(text, "}"));
    // The condition is handed over from its parenthesis up to the closing one.
    ASSERT_EQ(source.Asked.size(), 2U);
    EXPECT_EQ(source.Asked[0], "(V001=0");
}

TEST(ChoiceListSelect, TakesAStringVariableAndStartsTheBranchRightAfterItsDigit) {
    std::string text = Lines({"{$3", "a", "{(V001=1)$x!V002=1", "}"});
    FakeSource source;
    source.Strings[3] = "Three";
    source.Strings[0] = "Zero";
    ChoiceList list;
    ReadChoiceList(text, 0, ChoiceListKind::Select, source, list);
    ASSERT_EQ(list.Count, 2);
    EXPECT_EQ(list.Branches[0].Text.View(), "Three");
    // "{$3" ends with its digit: the branch starts at the line's NUL, an empty line.
    EXPECT_EQ(list.Branches[0].Offset, OffsetOfLine(text, "a") - 1);
    // A character that is no digit names $0; the rest of the line is the branch's first.
    EXPECT_EQ(list.Branches[1].Text.View(), "Zero");
    EXPECT_EQ(LineText(text, list.Branches[1].Offset), "!V002=1");
}

TEST(ChoiceListClickMap, CountsFalseConditionsAsDisabledAndReadsTheTimeLimit) {
    std::string text = Lines({"{", "a", "{(V001=0)Caption", "b", "{@3", "c", "}"});
    FakeSource source;
    ChoiceList list;
    ReadChoiceList(text, 0, ChoiceListKind::ClickMap, source, list);
    ASSERT_EQ(list.Count, 3);
    EXPECT_TRUE(list.Branches[0].Enabled);
    EXPECT_FALSE(list.Branches[1].Enabled);
    EXPECT_EQ(list.Branches[1].Text.View(), "Caption");
    EXPECT_EQ(list.TimeoutTicks, 60);
    EXPECT_EQ(list.TimeoutChoice, 3);
    EXPECT_EQ(list.Branches[2].Offset, OffsetOfLine(text, "c"));
    EXPECT_TRUE(list.Branches[2].Text.View().empty());
}

TEST(ChoiceListClickMap, AHugeTimeLimitStaysPositive) {
    std::string text = Lines({"{@99999999999", "}"});
    FakeSource source;
    ChoiceList list;
    ReadChoiceList(text, 0, ChoiceListKind::ClickMap, source, list);
    EXPECT_GT(list.TimeoutTicks, 0);
}

TEST(ChoiceListLimits, ReadsAtMostThirtyTwoChoices) {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += Lines({"{c" + std::to_string(i), "x"});
    }
    text += Lines({"}"});
    FakeSource source;
    ChoiceList list;
    ReadChoiceList(text, 0, ChoiceListKind::Select, source, list);
    EXPECT_EQ(list.Count, kMaxChoices);
    EXPECT_EQ(list.Branches[kMaxChoices - 1].Text.View(), "c31");
    EXPECT_EQ(list.ClosingOffset, OffsetOfLine(text, "}"));
}

TEST(ChoiceListLimits, CutsLongTextsWithoutSplittingACharacter) {
    // 63 single bytes and then a double-byte character: the character does not fit whole.
    std::string long_text(63, 'a');
    long_text += "\x82\xa0";
    long_text += "tail";
    std::string text = Lines({"{" + long_text, "}"});
    FakeSource source;
    ChoiceList list;
    ReadChoiceList(text, 0, ChoiceListKind::Select, source, list);
    ASSERT_EQ(list.Count, 1);
    EXPECT_EQ(list.Branches[0].Text.View(), std::string(63, 'a'));
    EXPECT_EQ(list.LongestText(), 63);
}

TEST(ChoiceListLimits, AGroupWithoutClosingLineEndsTheScriptWhenTaken) {
    std::string text = Lines({"{One", "a"});
    FakeSource source;
    ChoiceList list;
    ReadChoiceList(text, 0, ChoiceListKind::Select, source, list);
    EXPECT_EQ(list.Count, 1);
    EXPECT_EQ(list.ClosingOffset, kNotFound);
    EXPECT_EQ(list.OffsetOf(5), kNotFound);
}

TEST(ChoiceListLimits, ANumberOutsideTheListGoesToTheClosingLine) {
    std::string text = Lines({"{One", "a", "}"});
    FakeSource source;
    ChoiceList list;
    ReadChoiceList(text, 0, ChoiceListKind::Select, source, list);
    EXPECT_EQ(list.OffsetOf(0), OffsetOfLine(text, "}"));
    EXPECT_EQ(list.OffsetOf(2), OffsetOfLine(text, "}"));
    EXPECT_EQ(list.OffsetOf(-1), OffsetOfLine(text, "}"));
    EXPECT_EQ(list.OffsetOf(1), OffsetOfLine(text, "a"));
}

TEST(ChoiceListLimits, AConditionWithoutClosingParenthesisLeavesNoText) {
    std::string text = Lines({"{(V001=1", "a", "}"});
    FakeSource source;
    ChoiceList list;
    ReadChoiceList(text, 0, ChoiceListKind::Select, source, list);
    ASSERT_EQ(list.Count, 1);
    EXPECT_TRUE(list.Branches[0].Text.View().empty());
    EXPECT_EQ(list.Branches[0].Offset, OffsetOfLine(text, "a"));
}

TEST(ChoiceListLimits, AClosingLineBeforeTheFirstBranchGivesAnEmptyList) {
    std::string text = Lines({"}", "{One", "a", "}"});
    FakeSource source;
    ChoiceList list;
    ReadChoiceList(text, 0, ChoiceListKind::Select, source, list);
    EXPECT_EQ(list.Count, 0);
    EXPECT_EQ(list.ClosingOffset, 0);
}

} // namespace
} // namespace orv
