// The readers of the staff-roll languages: numbers that saturate, windows that stay on the
// screen, page lines that lose their alignment mark, text kept within its room.
#include "screens/roll_format.h"

#include <array>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace orv::roll {
namespace {

struct NumberCase {
    const char* Text;
    int32_t Value;
};

class RollNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(RollNumberTest, ReadsASignAndDigitsAndSaturates) {
    EXPECT_EQ(Number(GetParam().Text), GetParam().Value);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, RollNumberTest,
    ::testing::Values(NumberCase{"30", 30}, NumberCase{"  -7x", -7}, NumberCase{"+12,3", 12},
                      NumberCase{"", 0}, NumberCase{"abc", 0},
                      NumberCase{"99999999999999999999", std::numeric_limits<int32_t>::max()},
                      NumberCase{"-99999999999999999999", std::numeric_limits<int32_t>::min()}));

TEST(RollFormatTest, WindowNumbersAreDigitRunsSeparatedByAnything) {
    std::array<int32_t, 4> numbers{};
    EXPECT_EQ(DigitRuns("100 , 150;700x450", numbers), 4u);
    EXPECT_EQ(numbers, (std::array<int32_t, 4>{100, 150, 700, 450}));
    std::array<int32_t, 4> few{-1, -1, -1, -1};
    EXPECT_EQ(DigitRuns("5 6", few), 2u);
    EXPECT_EQ(few[2], -1);
}

TEST(RollFormatTest, WindowsAreNormalisedAndClippedToTheScreen) {
    Rect swapped = NormaliseWindow(600, 500, 200, 100);
    EXPECT_EQ(swapped.X, 200);
    EXPECT_EQ(swapped.Y, 100);
    EXPECT_EQ(swapped.Width, 400);
    EXPECT_EQ(swapped.Height, 400);
    Rect huge = NormaliseWindow(-5000, -1, std::numeric_limits<int32_t>::max(), 90000);
    EXPECT_EQ(huge.X, 0);
    EXPECT_EQ(huge.Width, kScreenWidth);
    EXPECT_EQ(huge.Height, kScreenHeight);
    EXPECT_EQ(NormaliseWindow(900, 0, 1000, 10).Width, 0);
}

TEST(RollFormatTest, CommandWordsAreUpperCasedAndCutAtTenCharacters) {
    TextRollCommand command;
    ASSERT_TRUE(ReadTextRollCommand("*wait\t 30", command));
    EXPECT_EQ(command.Word(), "WAIT");
    EXPECT_EQ(command.Argument, "30");
    ASSERT_TRUE(ReadTextRollCommand("@ABCDEFGHIJKLMNOP 1", command));
    EXPECT_EQ(command.Word(), "ABCDEFGHIJ");
    EXPECT_EQ(command.Argument, "1");
    EXPECT_FALSE(ReadTextRollCommand("staff", command));
    EXPECT_FALSE(ReadTextRollCommand("", command));
}

TEST(RollFormatTest, AlignmentMarksAreNotPartOfTheDrawnText) {
    AlignedLine left = AlignPageLine("<ab", 400, 16);
    EXPECT_EQ(left.Text, "ab");
    EXPECT_EQ(left.Offset, 0);
    AlignedLine right = AlignPageLine(">ab", 400, 16);
    EXPECT_EQ(right.Text, "ab");
    EXPECT_EQ(right.Offset, 400 - 32);
    AlignedLine centred = AlignPageLine("abcd", 400, 16);
    EXPECT_EQ(centred.Text, "abcd");
    EXPECT_EQ(centred.Offset, (400 - 64) / 2);
}

TEST(RollFormatTest, RollTextKeepsItsLinesAndBytesWithinItsRoom) {
    RollText text;
    for (size_t i = 0; i < RollText::kMaxLines + 5; ++i) {
        text.Append("line");
    }
    EXPECT_EQ(text.Count(), RollText::kMaxLines);
    text.Clear();
    // A run of double-byte characters one byte too long: the last one is dropped whole.
    std::string wide;
    while (wide.size() < RollText::kMaxBytes) {
        wide += "\x82\xa0";
    }
    text.Append("x" + wide);
    ASSERT_EQ(text.Count(), 1u);
    EXPECT_EQ(text.Line(0).size(), RollText::kMaxBytes - 1);
}

} // namespace
} // namespace orv::roll
