// The map's events from "mapctrl" and the places of the hit map's colours.
#include "screens/map_screen.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace orv {
namespace {

struct ColourCase {
    uint32_t Bgr;
    int Place;
};

class MapColourTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(MapColourTest, EachChannelCountsFrom128) {
    EXPECT_EQ(PlaceForColour(GetParam().Bgr), GetParam().Place);
}

// Colours are 0xBBGGRR.
INSTANTIATE_TEST_SUITE_P(Colours, MapColourTest,
                         ::testing::Values(ColourCase{0xFF0000, 1}, ColourCase{0x0000FF, 2},
                                           ColourCase{0xFF00FF, 3}, ColourCase{0x00FF00, 4},
                                           ColourCase{0x00FFFF, 5}, ColourCase{0x800000, 1},
                                           ColourCase{0x7F0000, 0}, ColourCase{0x000000, 0},
                                           ColourCase{0xFFFF00, 0}, ColourCase{0xFFFFFF, 0},
                                           ColourCase{0x7F7F7F, 0}));

bool FlagsUpTo9(int32_t flag) {
    return flag >= 0 && flag <= 9;
}

TEST(MapEventsTest, TheSectionsEventsAreKeptByPlaceInFileOrder) {
    // Lines end in NUL, as the text archive stores them.
    constexpr char kText[] = ":2\0001,Other,9\000:1\0001,One,10\0001,Two,20,5\000"
                             "1,Hidden,30,15\0003,Three,33\000:2\0001,Late,1";
    MapEvents events;
    ASSERT_TRUE(ReadMapEvents(std::string_view(kText, sizeof kText - 1), 1, FlagsUpTo9, events));
    EXPECT_EQ(events.Counts[1], 2);
    EXPECT_EQ(events.Events[1][0].Title(), "One");
    EXPECT_EQ(events.Events[1][0].Value, 10);
    EXPECT_EQ(events.Events[1][1].Title(), "Two");
    EXPECT_EQ(events.Counts[3], 1);
}

TEST(MapEventsTest, PlacesOutsideTheMapFifthEventsAndLongTitlesAreCut) {
    std::string text = ":1\n0,Zero,1\n6,Six,1\n-1,Minus,1\n";
    for (int i = 0; i < 6; ++i) {
        text += "2,E" + std::to_string(i) + ",1\n";
    }
    text += "4," + std::string(200, 'T') + ",1\n";
    MapEvents events;
    ASSERT_TRUE(ReadMapEvents(text, 1, FlagsUpTo9, events));
    EXPECT_EQ(events.Counts[0], 0);
    EXPECT_EQ(events.Counts[2], MapEvents::kPerPlace);
    EXPECT_EQ(events.Events[2][3].Title(), "E3");
    EXPECT_EQ(events.Events[4][0].Title().size(), MapEvent::kTitleSize);
}

TEST(MapEventsTest, AMissingSectionOrOneAfterEndIsNotFound) {
    MapEvents events;
    EXPECT_FALSE(ReadMapEvents(":1\n1,A,1\n", 2, FlagsUpTo9, events));
    EXPECT_FALSE(ReadMapEvents(":END\n:2\n1,A,1\n", 2, FlagsUpTo9, events));
    EXPECT_FALSE(ReadMapEvents(":12\n1,A,1\n", 1, FlagsUpTo9, events));
}

} // namespace
} // namespace orv
