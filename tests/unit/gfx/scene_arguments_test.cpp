#include "gfx/scene_arguments.h"

#include <string>

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(PictureArgumentScan, TheNameEndsAtABlankCommaOrBracketAndKeepsItsColons) {
    EXPECT_EQ(ScanPictureArgument("A010", true).Name, "A010");
    EXPECT_EQ(ScanPictureArgument("B001:B002 5", true).Name, "B001:B002");
    EXPECT_EQ(ScanPictureArgument("S000,3", true).Name, "S000");
    EXPECT_EQ(ScanPictureArgument("A010]tail 4", true).Name, "A010");
    EXPECT_EQ(ScanPictureArgument("", true).Name, "");
}

TEST(PictureArgumentScan, TheLastRunOfDigitsAfterTheNameIsTheTransition) {
    EXPECT_EQ(ScanPictureArgument("A010", true).Transition, -1);
    EXPECT_EQ(ScanPictureArgument("A010 0", true).Transition, 0);
    EXPECT_EQ(ScanPictureArgument("B001:B002 5", true).Transition, 5);
    EXPECT_EQ(ScanPictureArgument("S000,3", true).Transition, 3);
    EXPECT_EQ(ScanPictureArgument("A010 12 x 34", true).Transition, 34);
    EXPECT_EQ(ScanPictureArgument("A010 wipe", true).Transition, -1);
    // A ']' ends the search, and digits of the name itself never count.
    EXPECT_EQ(ScanPictureArgument("A010 7] 9", true).Transition, 7);
    EXPECT_EQ(ScanPictureArgument("A010]7", true).Transition, -1);
    // A run too long for 32 bits is held at the largest number.
    EXPECT_EQ(ScanPictureArgument("A010 99999999999", true).Transition, 2147483647);
}

TEST(PictureArgumentScan, OnlyTheFirst64BytesOfTheArgumentAreSearched) {
    std::string text = "A010 " + std::string(57, ' ') + "12";
    ASSERT_EQ(text.size(), 64u);
    EXPECT_EQ(ScanPictureArgument(text, true).Transition, 12);
    EXPECT_EQ(ScanPictureArgument(text + "3", true).Transition, 12);
    // A run that crosses byte 63 is read as far as byte 63.
    std::string later = "A010 " + std::string(58, ' ') + "12";
    EXPECT_EQ(ScanPictureArgument(later, true).Transition, 1);
}

TEST(PictureArgumentScan, ANameOfMoreThan63BytesIsCutAndNothingAfterItIsRead) {
    std::string name(70, 'A');
    PictureArgument scanned = ScanPictureArgument(name + " 5 L", true);
    EXPECT_EQ(scanned.Name.size(), 63u);
    EXPECT_EQ(scanned.Transition, -1);
    EXPECT_EQ(scanned.Side, 0);
    // A double-byte character that would pass byte 63 stays out whole.
    std::string wide = std::string(62, 'A') + "\x82\xA0";
    EXPECT_EQ(ScanPictureArgument(wide, true).Name.size(), 62u);
}

TEST(PictureArgumentScan, LOrRAfterTheNamePicksTheSideForGraOnly) {
    EXPECT_EQ(ScanPictureArgument("B003 L", true).Side, 'L');
    EXPECT_EQ(ScanPictureArgument("B003 r", true).Side, 'R');
    EXPECT_EQ(ScanPictureArgument("B003 2l", true).Side, 'L');
    EXPECT_EQ(ScanPictureArgument("B003 2l", true).Transition, 2);
    EXPECT_EQ(ScanPictureArgument("B003", true).Side, 0);
    EXPECT_EQ(ScanPictureArgument("B003 L", false).Side, 0);
    // The trail byte of a double-byte character is no letter: 0x82 0x4C is one character.
    EXPECT_EQ(ScanPictureArgument("B003 \x82\x4C", true).Side, 0);
}

TEST(ClearArgumentScan, TheNumberLeadsAndTheLastCharacterNamesTheSide) {
    ClearArgument plain = ScanClearArgument("2");
    EXPECT_EQ(plain.Transition, 2);
    EXPECT_EQ(plain.Side, 0);
    EXPECT_EQ(ScanClearArgument("2l").Side, 'L');
    EXPECT_EQ(ScanClearArgument("2R").Side, 'R');
    EXPECT_EQ(ScanClearArgument(" 5 r  ").Transition, 5);
    EXPECT_EQ(ScanClearArgument(" 5 r  ").Side, 'R');
    EXPECT_EQ(ScanClearArgument("").Transition, 0);
    EXPECT_EQ(ScanClearArgument("l").Transition, 0);
    EXPECT_EQ(ScanClearArgument("l2").Side, 0);
}

TEST(OverlayArgumentScan, FieldsAfterTheNameAreOptional) {
    OverlayArgument full = ScanOverlayArgument("OV01,4,350,250");
    EXPECT_EQ(full.Name, "OV01");
    EXPECT_EQ(full.Transition, 4);
    EXPECT_EQ(full.X, 350);
    EXPECT_EQ(full.Y, 250);
    EXPECT_FALSE(full.Off);
    OverlayArgument bare = ScanOverlayArgument("OV01 ");
    EXPECT_EQ(bare.Name, "OV01");
    EXPECT_EQ(bare.Transition, 1);
    EXPECT_FALSE(bare.X.has_value());
    EXPECT_FALSE(bare.Y.has_value());
    EXPECT_TRUE(ScanOverlayArgument("oFf").Off);
    EXPECT_TRUE(ScanOverlayArgument("OFF,0").Off);
    EXPECT_FALSE(ScanOverlayArgument("OFFICE").Off);
}

TEST(DirectArgumentScan, TheNameKeeps32BytesAndTheNumbersDefaultToZero) {
    DirectArgument scanned = ScanDirectArgument("P002,500,300,-20");
    EXPECT_EQ(scanned.Name, "P002");
    EXPECT_EQ(scanned.Milliseconds, 500);
    EXPECT_EQ(scanned.X, 300);
    EXPECT_EQ(scanned.Y, -20);
    DirectArgument bare = ScanDirectArgument(std::string(40, 'P'));
    EXPECT_EQ(bare.Name.size(), 32u);
    EXPECT_EQ(bare.Milliseconds, 0);
    EXPECT_EQ(bare.X, 0);
}

} // namespace
} // namespace orv
