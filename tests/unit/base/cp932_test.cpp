#include "base/cp932.h"

#include <gtest/gtest.h>

namespace orv::cp932 {
namespace {

TEST(Cp932LeadByte, MatchesTheWindowsRanges) {
    for (int b = 0; b < 256; ++b) {
        bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(IsLeadByte(static_cast<uint8_t>(b)), expected) << b;
    }
}

TEST(Cp932UpperCase, ChangesOnlyAsciiLettersAndNeverATrailByte) {
    // 0x82 0x61 is a full-width character whose trail byte is 'a'.
    std::string text = "ab\x82" "a" "z{\xE0" "b" "\xA6q";
    UpperCaseInPlace(text);
    EXPECT_EQ(text, "AB\x82" "a" "Z{\xE0" "b" "\xA6Q");
}

TEST(Cp932UpperCase, ALeadByteAtTheEndIsLeftAlone) {
    EXPECT_EQ(UpperCase("a\x82"), "A\x82");
}

TEST(Cp932Compare, IgnoresAsciiCaseButNotTrailBytes) {
    EXPECT_TRUE(EqualsIgnoreCase("main", "MAIN"));
    EXPECT_TRUE(EqualsIgnoreCase("Sel\x82" "a", "SEL\x82" "a"));
    EXPECT_FALSE(EqualsIgnoreCase("\x82" "a", "\x82" "A"));
    EXPECT_FALSE(EqualsIgnoreCase("main", "mai"));
}

TEST(Cp932Iteration, StepsByWholeCharacters) {
    std::vector<std::string> chars;
    ForEachChar("a\x82\xA0\xB1" "b\x81", [&](std::string_view c) { chars.emplace_back(c); });
    ASSERT_EQ(chars.size(), 5u);
    EXPECT_EQ(chars[1], "\x82\xA0");
    EXPECT_EQ(chars[2], "\xB1"); // half-width katakana is one byte
    EXPECT_EQ(chars[4], "\x81"); // a lead byte cut off by the end stands alone
}

TEST(Cp932Conversion, DecodesHiraganaKanjiAndHalfWidthKatakana) {
    // あ 漢 ｱ and the full-width yen sign of code page 932.
    EXPECT_EQ(ToUtf8("\x82\xA0\x8A\xBF\xB1\x81\x8F"), "あ漢ｱ￥");
    EXPECT_EQ(ToUtf32("A\x82\xA0"), U"Aあ");
}

TEST(Cp932Conversion, ReplacesUndefinedSequencesWithoutEatingTheNextCharacter) {
    // 0x85 0x40 is an unassigned row; 0x81 followed by ASCII is a broken pair.
    EXPECT_EQ(ToUtf32("\x85\x40" "a"), std::u32string({ReplacementChar, U'a'}));
    EXPECT_EQ(ToUtf32("\x81" "1"), std::u32string({ReplacementChar, U'1'}));
    EXPECT_EQ(ToUtf32("\x82"), std::u32string({ReplacementChar}));
}

TEST(Cp932Conversion, RoundTripsThroughUtf8) {
    std::string sjis = "\x83Q\x81[\x83\x80" "abc\x82\xA0";
    std::string back;
    EXPECT_EQ(EncodeUtf8(ToUtf8(sjis), back), std::string_view::npos);
    EXPECT_EQ(back, sjis);
}

TEST(Cp932Conversion, ReportsTheFirstCharacterItCannotEncode) {
    std::string out;
    std::string text = "ok\xF0\x9F\x98\x80rest"; // an emoji has no code page 932 form
    EXPECT_EQ(EncodeUtf8(text, out), 2u);
    EXPECT_EQ(out, "ok");
    EXPECT_EQ(EncodeUtf8("a\xC3", out), 1u); // truncated UTF-8
    EXPECT_EQ(FromUtf8Lenient(text), "ok?rest");
}

} // namespace
} // namespace orv::cp932
