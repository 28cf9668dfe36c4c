#include "choices/map_definition.h"
#include "script_lines.h"

#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Lines;

TEST(MapDefinition, FindsTheMapByItsLabelWithoutRegardToCase) {
    std::string text =
        Lines({":first", "1", "A,0,0,1,1", ":Second", "2", "B,1,2,3,4", "C,5,6,7,8"});
    MapDefinition map;
    ReadMapDefinition(text, "SECOND", map);
    ASSERT_EQ(map.Count, 2);
    EXPECT_EQ(map.Regions[0].Caption.View(), "B");
    EXPECT_EQ(map.Regions[1].Area.Right, 7);
}

TEST(MapDefinition, ReadsTheCountFromTheStartWhenTheNameIsMissing) {
    std::string text = Lines({"1", "A,0,0,10,10", ":other", "2"});
    MapDefinition map;
    ReadMapDefinition(text, "missing", map);
    ASSERT_EQ(map.Count, 1);
    EXPECT_EQ(map.Regions[0].Caption.View(), "A");
}

TEST(MapDefinition, ClampsTheRegionCount) {
    std::string many = Lines({":m", "500"});
    MapDefinition map;
    ReadMapDefinition(many, "m", map);
    EXPECT_EQ(map.Count, kMaxChoices);
    std::string negative = Lines({":m", "-3"});
    ReadMapDefinition(negative, "m", map);
    EXPECT_EQ(map.Count, 0);
    // Region lines past the end of the definition read as empty regions.
    std::string short_map = Lines({":m", "3", "A,1,1,5,5"});
    ReadMapDefinition(short_map, "m", map);
    ASSERT_EQ(map.Count, 3);
    EXPECT_EQ(map.Regions[2].Area.Right, 0);
}

TEST(MapRegionLine, NormalisesRectanglesAndPlacesTheCaptionInTheMiddle) {
    MapRegion region;
    ReadRegion("Shop,300,250,100,50", region);
    EXPECT_EQ(region.Kind, RegionKind::Rectangle);
    EXPECT_EQ(region.Area.Left, 100);
    EXPECT_EQ(region.Area.Top, 50);
    EXPECT_EQ(region.Area.Right, 300);
    EXPECT_EQ(region.Area.Bottom, 250);
    // Four bytes of 16-pixel text are 32 wide, plus 32; 24 high.
    EXPECT_EQ(region.CaptionBox.Width(), 64);
    EXPECT_EQ(region.CaptionBox.Height(), 24);
    EXPECT_EQ(region.CaptionBox.Left, 168);
    EXPECT_EQ(region.CaptionBox.Top, 138);
}

TEST(MapRegionLine, ReadsTheKindsByTheirFirstCharacter) {
    MapRegion region;
    ReadRegion("#Park,1,2,3,4,50,60,10,20,7,8", region);
    EXPECT_EQ(region.Kind, RegionKind::SecondRect);
    EXPECT_EQ(region.Source.Left, 10);
    EXPECT_EQ(region.Source.Top, 20);
    EXPECT_EQ(region.Source.Right, 50);
    EXPECT_EQ(region.Source.Bottom, 60);
    EXPECT_EQ(region.Extra[0], 7);
    EXPECT_EQ(region.Extra[1], 8);
    ReadRegion("*Inn,1,2,3,4", region);
    EXPECT_EQ(region.Kind, RegionKind::SamePlace);
    ReadRegion("$A5F,3", region);
    EXPECT_EQ(region.Kind, RegionKind::Colour);
    EXPECT_EQ(region.Key, 0xF050A0U); // blue F0, green 50, red A0
    EXPECT_EQ(region.Cursor, 3);
    // Not three hex digits: a rectangle with that caption.
    ReadRegion("$G00,1,1,2,2", region);
    EXPECT_EQ(region.Kind, RegionKind::Rectangle);
}

TEST(MapRegionLine, SurvivesHostileLines) {
    MapRegion region;
    ReadRegion("", region);
    EXPECT_EQ(region.Kind, RegionKind::Rectangle);
    ReadRegion("x,-999999999999,999999999999,abc,,", region);
    EXPECT_LE(region.Area.Left, region.Area.Right);
    EXPECT_FALSE(region.Area.StrictlyContains(0, 0));
    std::string caption(200, 'c');
    ReadRegion(caption, region);
    EXPECT_EQ(region.Caption.View().size(), static_cast<size_t>(kChoiceTextBytes));
    ReadRegion("$", region);
    EXPECT_EQ(region.Kind, RegionKind::Rectangle);
}

} // namespace
} // namespace orv
