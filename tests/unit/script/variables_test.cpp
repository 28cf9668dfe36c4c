#include "script/variables.h"

#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

TEST(VariableStoreTest, NamedCellsMapOntoTheOneCellArray) {
    VariableStore vars;
    vars.V(999) = 1;
    vars.S(0) = 2;
    vars.S(999) = 3;
    vars.G(0) = 4;
    vars.G(9) = 5;
    EXPECT_EQ(vars.Cells[999], 1);
    EXPECT_EQ(vars.Cells[2000], 2);
    EXPECT_EQ(vars.Cells[2999], 3);
    EXPECT_EQ(vars.Cells[3000], 4);
    EXPECT_EQ(vars.Cells[3009], 5);
    EXPECT_EQ(vars.Cell(3009), 5);
}

TEST(VariableStoreTest, IndexesOutsideAFamilyReachNoOtherCell) {
    VariableStore vars;
    vars.V(1000) = 7;
    vars.V(-1) = 7;
    vars.S(1000) = 7;
    vars.G(10) = 7;
    for (int32_t cell : vars.Cells) {
        ASSERT_EQ(cell, 0);
    }
    EXPECT_EQ(vars.V(1000), 0);
    EXPECT_EQ(std::as_const(vars).G(10), 0);
    EXPECT_EQ(vars.Cell(3010), 0);
    EXPECT_EQ(vars.Cell(-1), 0);
    EXPECT_FALSE(vars.SetCell(3010, 1));
    EXPECT_TRUE(vars.SetCell(1500, 1));
    EXPECT_EQ(vars.Cells[1500], 1);
}

TEST(VariableStoreTest, FlagsStopAtTheirCounts) {
    VariableStore vars;
    vars.SetFlag(FlagKind::E, 1023);
    vars.SetFlag(FlagKind::E, 1024);
    vars.SetFlag(FlagKind::T, 9999);
    vars.SetFlag(FlagKind::T, 10000);
    vars.SetFlag(FlagKind::F, -1);
    EXPECT_TRUE(vars.TestFlag(FlagKind::E, 1023));
    EXPECT_FALSE(vars.TestFlag(FlagKind::E, 1024));
    EXPECT_TRUE(vars.TestFlag(FlagKind::T, 9999));
    EXPECT_FALSE(vars.TestFlag(FlagKind::T, 10000));
    // Bit n lives in byte n / 8, least significant bit first.
    EXPECT_EQ(vars.EFlags[127], 0x80);
    EXPECT_EQ(vars.TFlags[1249], 0x80);
    vars.ClearFlag(FlagKind::E, 1023);
    EXPECT_EQ(vars.EFlags[127], 0);
}

TEST(VariableStoreTest, OtherBitArraysIgnoreBitsBeyondTheirCountsInsideTheirAreas) {
    VariableStore vars;
    vars.SetPictureUnlockedBit(3999, true);
    vars.SetPictureUnlockedBit(4000, true); // inside the 512-byte area, beyond the 4000 bits
    vars.SetSceneSeenBit(1999, true);
    vars.SetSceneSeenBit(2000, true);
    vars.SetReadMark(80000);
    vars.SetReadMark(80001);
    EXPECT_TRUE(vars.PictureUnlockedBit(3999));
    EXPECT_FALSE(vars.PictureUnlockedBit(4000));
    EXPECT_EQ(vars.PictureUnlocked[500], 0);
    EXPECT_TRUE(vars.SceneSeenBit(1999));
    EXPECT_EQ(vars.ScenesSeen[250], 0);
    EXPECT_TRUE(vars.ReadMark(80000));
    EXPECT_FALSE(vars.ReadMark(80001));
    EXPECT_EQ(vars.ReadMarks[10000], 0x01);
}

TEST(VariableStoreTest, ClearingANewGameLeavesTheSystemCellsAndOtherFlags) {
    VariableStore vars;
    vars.V(0) = 1;
    vars.V(999) = 1;
    vars.S(0) = 3;
    vars.SetFlag(FlagKind::F, 5);
    vars.SetFlag(FlagKind::E, 5);
    vars.ClearGameVariables();
    vars.ClearFlags(FlagKind::F);
    EXPECT_EQ(vars.V(0), 0);
    EXPECT_EQ(vars.V(999), 0);
    EXPECT_EQ(vars.S(0), 3);
    EXPECT_FALSE(vars.TestFlag(FlagKind::F, 5));
    EXPECT_TRUE(vars.TestFlag(FlagKind::E, 5));
}

TEST(VariableStoreTest, StringsKeepSixtyThreeBytesOfWholeCharacters) {
    VariableStore vars;
    vars.SetString(3, std::string(70, 'x'));
    EXPECT_EQ(vars.String(3), std::string(63, 'x'));
    std::string text(62, 'y');
    text += "\x82\xa0"; // would end at byte 64
    vars.SetString(3, text);
    EXPECT_EQ(vars.String(3), std::string(62, 'y'));
    vars.SetString(3, vars.String(3).substr(2)); // a view of itself
    EXPECT_EQ(vars.String(3), std::string(60, 'y'));
    vars.SetString(10, "no");
    EXPECT_EQ(vars.String(10), "");
}

} // namespace
} // namespace orv::test
