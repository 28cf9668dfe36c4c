#include "script/script_search.h"
#include "script_lines.h"

#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Lines;
using test::OffsetOfLine;

TEST(ScriptFindLabel, ReturnsTheLineAfterTheLabelIgnoringAsciiCase) {
    std::string text = Lines({"x", ":a", "y"});
    EXPECT_EQ(FindLabel(text, "A"), OffsetOfLine(text, "y"));
}

TEST(ScriptFindLabel, MatchesTheWholeRestOfTheLineAndTheFirstOfDuplicates) {
    std::string text = Lines({":ab", "1", ":a", "2", ":a", "3"});
    EXPECT_EQ(FindLabel(text, "a"), OffsetOfLine(text, "2"));
    EXPECT_EQ(FindLabel(text, "abc"), -1);
    EXPECT_EQ(FindLabel(text, "missing"), -1);
}

TEST(ScriptFindLabel, CountsAColonInsideALine) {
    std::string text = Lines({"text:end", "after"});
    EXPECT_EQ(FindLabel(text, "END"), OffsetOfLine(text, "after"));
}

TEST(ScriptFindLabel, ALabelOnAnUnterminatedLastLineNamesTheEnd) {
    std::string text = Lines({"x"}) + ":last";
    EXPECT_EQ(FindLabel(text, "last"), static_cast<int32_t>(text.size()));
}

TEST(ScriptBlockEnd, StopsAtTheFirstClosingLineWithoutNesting) {
    std::string text = Lines({"{", "{", "1", "}", "2", "}"});
    int32_t end = SkipToBlockEnd(text, 2);
    EXPECT_EQ(end, OffsetOfLine(text, "}"));
    EXPECT_EQ(text.substr(static_cast<size_t>(end) + 2, 1), "2");
}

TEST(ScriptBlockEnd, CountsOnlyLineStarts) {
    // 0x82 0x7D: a double-byte character whose trail byte is '}'.
    std::string text = Lines({"{", "a}b", "\x82}", "}end"});
    EXPECT_EQ(SkipToBlockEnd(text, 2), OffsetOfLine(text, "}end"));
    // From the middle of a line the search starts at the next line.
    std::string closing = Lines({"}x", "}y"});
    EXPECT_EQ(SkipToBlockEnd(closing, 1), 3);
}

TEST(ScriptBlockEnd, IsNotFoundWithoutAClosingLineOrOutsideTheText) {
    std::string text = Lines({"{", "1"}) + "}";
    EXPECT_EQ(SkipToBlockEnd(Lines({"{", "1"}), 0), kNotFound);
    EXPECT_EQ(SkipToBlockEnd(text, 4), 4); // an unterminated last line still counts
    EXPECT_EQ(SkipToBlockEnd(text, kNotFound), kNotFound);
    EXPECT_EQ(SkipToBlockEnd(text, -7), 4); // a negative start scans from the beginning
}

TEST(ScriptNamedBlock, ResumesAtTheClosingLineOfExactlyThatName) {
    std::string text =
        Lines({"{:SEL1(V001==1)", "a", "}", "}:SEL10", "x}:sel1", "}:sel1x", "}:sel1", "after"});
    int32_t end = SkipNamedBlock(text, OffsetOfLine(text, "a"), "SEL1");
    EXPECT_EQ(end, OffsetOfLine(text, "}:sel1"));
    EXPECT_EQ(SkipNamedBlock(text, end + 1, "SEL1"), kNotFound);
    EXPECT_EQ(SkipNamedBlock(text, 0, "SEL2"), kNotFound);
}

TEST(ScriptNamedBlock, FindsABlockStartByNamePrefix) {
    std::string text = Lines({"{:sel2(x)", "x{:sel1", "{sel1", "{:SEL1(...)", "{:sel10"});
    int32_t first = FindNamedBlock(text, 0, "sel1");
    EXPECT_EQ(first, OffsetOfLine(text, "{:SEL1(...)"));
    // The prefix is compared over its own length only.
    EXPECT_EQ(FindNamedBlock(text, first + 1, "SEL1"), OffsetOfLine(text, "{:sel10"));
    EXPECT_EQ(FindNamedBlock(text, 0, "sel3"), kNotFound);
}

TEST(ScriptNamedBlock, ALineShorterThanThePrefixAtTheEndDoesNotMatch) {
    EXPECT_EQ(FindNamedBlock("{:se", 0, "sel1"), kNotFound);
    EXPECT_EQ(FindNamedBlock("{:sel1", 0, "sel1"), 0);
}

TEST(ScriptFindByte, SearchesStrictlyAfterTheStartAndReturnsTheStartWhenAbsent) {
    std::string_view text = "a,b,c";
    EXPECT_EQ(FindByte(text, 0, ','), 1);
    EXPECT_EQ(FindByte(text, 1, ','), 3);
    EXPECT_EQ(FindByte(text, 3, ','), 3);
    EXPECT_EQ(FindByte(text, -5, 'a'), 0);
    EXPECT_EQ(FindByte(text, 99, ','), 99);
    EXPECT_EQ(FindByte("a\xFF", 0, 0xFF), 1);
}

} // namespace
} // namespace orv
