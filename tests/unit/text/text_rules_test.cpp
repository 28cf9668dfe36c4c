#include "base/cp932.h"
#include "text/text_hook.h"
#include "text/text_rules.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

uint16_t Code(const char* utf8) { return cp932::CharCode(cp932::FromUtf8Lenient(utf8)); }

TEST(LineBreakTest, CharactersThatMayNotStartALineHangTwoBytesPastTheLimit) {
    EXPECT_FALSE(BreaksLine(38, 40, Code("あ")));
    EXPECT_TRUE(BreaksLine(40, 40, Code("あ")));
    EXPECT_FALSE(BreaksLine(40, 40, Code("。")));
    EXPECT_FALSE(BreaksLine(40, 40, Code("っ")));
    EXPECT_FALSE(BreaksLine(40, 40, Code("」")));
    EXPECT_TRUE(BreaksLine(42, 40, Code("。")));
    EXPECT_FALSE(BreaksLine(41, 40, Code("、"))); // after a single-byte character
    EXPECT_TRUE(BreaksLine(40, 40, Code("「")));
    for (const char* c : {"　", "、", "。", "？", "！", "ー", "）", "」", "』", "％", "♪", "ぁ", "ゎ", "ァ", "ヮ", "ヶ"}) {
        EXPECT_TRUE(MayNotStartLine(Code(c))) << c;
    }
    EXPECT_FALSE(MayNotStartLine(Code("あ")));
    EXPECT_FALSE(MayNotStartLine(Code("『")));
}

TEST(LineBreakTest, OnlyOpeningBracketsKeepColumnZero) {
    EXPECT_TRUE(KeepsColumnZero(Code("「")));
    EXPECT_TRUE(KeepsColumnZero(Code("（")));
    EXPECT_TRUE(KeepsColumnZero(Code("『")));
    EXPECT_FALSE(KeepsColumnZero(Code("あ")));
    EXPECT_FALSE(KeepsColumnZero(Code("　")));
}

TEST(InlineTagTest, WordsMatchInTableOrderWithoutRegardToCase) {
    EXPECT_EQ(MatchInlineTag("col 3]").Tag, InlineTag::Colour);
    EXPECT_EQ(MatchInlineTag("col 3]").ArgumentOffset, 4u);
    EXPECT_EQ(MatchInlineTag("COL 3]").Tag, InlineTag::Colour);
    EXPECT_EQ(MatchInlineTag("Wait 20]").ArgumentOffset, 5u);
    EXPECT_EQ(MatchInlineTag("cv v001").Tag, InlineTag::Voice);
    EXPECT_EQ(MatchInlineTag("cv v001").ArgumentOffset, 3u);
    EXPECT_EQ(MatchInlineTag("cvx]").Tag, InlineTag::None);
    EXPECT_EQ(MatchInlineTag("?V001+1]").Tag, InlineTag::Value);
    EXPECT_EQ(MatchInlineTag("?V001+1]").ArgumentOffset, 1u);
    EXPECT_EQ(MatchInlineTag("$1]").ArgumentOffset, 1u);
    EXPECT_EQ(MatchInlineTag("1]").Tag, InlineTag::Narrow);
    EXPECT_EQ(MatchInlineTag("2]").Tag, InlineTag::Wide);
    // "gra" comes before "bg" and "spr"; "clrb" before "bg".
    EXPECT_EQ(MatchInlineTag("gra A010]").Tag, InlineTag::Picture);
    EXPECT_EQ(MatchInlineTag("clrb 1]").Tag, InlineTag::Clear);
    EXPECT_EQ(MatchInlineTag("delay 0]").Tag, InlineTag::Delay);
    EXPECT_EQ(MatchInlineTag("spr B1]").Tag, InlineTag::Sprite);
    EXPECT_EQ(MatchInlineTag("bg A]").Tag, InlineTag::Background);
    EXPECT_EQ(MatchInlineTag("xyz]").Tag, InlineTag::None);
    EXPECT_EQ(MatchInlineTag("").Tag, InlineTag::None);
}

TEST(AutoWaitTest, TheWaitGrowsWithThePageAndTheLevel) {
    // 10 characters at level 1 of 5: 10 div 16 + 4.
    EXPECT_EQ(AutoWaitTicksFor(10, 5, 1), 4);
    EXPECT_EQ(AutoWaitTicksFor(160, 5, 1), 14);
    EXPECT_EQ(AutoWaitTicksFor(0, 5, 5), 12);
    // A level far beyond the configured ones does not divide by zero.
    EXPECT_EQ(AutoWaitTicksFor(10, 5, 17), 10 + 36);
    EXPECT_EQ(AutoWaitTicksFor(10, 5, 30), 10 + 62);
}

TEST(TextHookTest, CommittedLinesArriveAsUtf8AndEmptyOnesNotAtAll) {
    std::vector<std::string> lines;
    TextHook hook;
    hook.Append("x"); // before a sink: dropped
    hook.SetSink([&lines](std::string_view line) { lines.emplace_back(line); });
    hook.Commit();
    hook.Append(cp932::FromUtf8Lenient("「あ"));
    hook.Append(cp932::FromUtf8Lenient("い」A"));
    hook.Commit();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "「あい」A");
    std::string longLine(TextHook::kLineBytes + 50, 'a');
    hook.Append(longLine);
    hook.Commit();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].size(), TextHook::kLineBytes);
}

} // namespace
} // namespace orv::test
