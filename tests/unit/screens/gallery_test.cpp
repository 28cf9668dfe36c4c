#include "screens/gallery_screen.h"

#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "gfx/gra_encoder.h"
#include "test_support.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

// ---- The view definition.

TEST(ViewDefinitionTest, OnePictureSeenUnlocksItsGroupUnlessPartlyOpenSlotsHaveACover) {
    for (bool plate2 : {false, true}) {
        VariableStore vars;
        vars.SetPictureUnlockedBit(1, true); // the second picture of slot 1
        std::string text = NulLines({":VIEW_1", "{", "SET:1", plate2 ? "PLATE2:P2" : "PLATE:P1",
                                     "}", "{", "1:a,b,c", "2:d", "}"});
        ViewDefinition view = ReadViewDefinition(text, "VIEW_1", &vars);
        ASSERT_TRUE(view.Found);
        EXPECT_EQ(view.GroupUnlock, !plate2);
        EXPECT_EQ(view.SlotState[0][1], plate2 ? slot_state::PartlyOpen : slot_state::Open);
        EXPECT_EQ(view.SlotState[0][2], slot_state::Locked);
        EXPECT_EQ(view.SeenPictures, plate2 ? 1 : 3);
        EXPECT_EQ(view.TotalPictures, 4);
        EXPECT_EQ(vars.PictureUnlockedBit(0), !plate2) << "the group's seen bits follow";
        EXPECT_FALSE(vars.PictureUnlockedBit(3));
        EXPECT_EQ(view.AllPictures, (std::vector<std::string>{"A", "B", "C", "D"}));
    }
}

TEST(ViewDefinitionTest, CountsAndIndicesFromTheResourceStayInsideTheirTables) {
    std::string names;
    for (int i = 0; i < 60; ++i) {
        names += (i ? "," : "") + std::string("N") + std::to_string(i);
    }
    std::string slot = "1:" + names;
    std::string text = NulLines({":VIEW_1", "{", "SET:99", "P17:1,1,5,5,0,99,40", "P18:1,1,5,5",
                                 "P123:1,1,5,5", "M12:1,1,5,5", "51:10,10", "0:10,10", "50:7,8",
                                 "TYPE:9", "}", "{", slot, "51:X", "}"});
    ViewDefinition view = ReadViewDefinition(text, "VIEW_1", nullptr);
    EXPECT_EQ(view.SetCount, ViewDefinition::kMaxSets);
    EXPECT_EQ(view.Type, view_type::MusicPlayer) << "a type past the last is the last";
    EXPECT_EQ(view.SetRegions[17].Target, 40) << "kept; the press checks it against the sets";
    EXPECT_EQ(view.SlotX[50], 7);
    EXPECT_EQ(view.SlotX[0], ViewDefinition::kNoPosition);

    std::string none = NulLines({":VIEW_1", "{", "SET:0", "}"});
    EXPECT_EQ(ReadViewDefinition(none, "VIEW_1", nullptr).SetCount, 1) << "next never divides by 0";

    std::string pictures = NulLines({":VIEW_1", "{", "}", "{", slot, "}"});
    EXPECT_EQ(ReadViewDefinition(pictures, "VIEW_1", nullptr).AllPictures.size(), 50u);
    EXPECT_FALSE(ReadViewDefinition(pictures, "VIEW_3", nullptr).Found);
}

TEST(ViewDefinitionTest, ViewZeroGivesOnlyItsJumpsAndASetBlockEndsAfter51Lines) {
    std::vector<std::string> lines{":VIEW_0", "{", "M3:1,2,3,4,2,5", "NEXT:1,1,2,2", "}",
                                   ":VIEW_1", "{", "SET:2", "}", "{"};
    for (int i = 0; i < 50; ++i) {
        lines.emplace_back("");
    }
    lines.emplace_back("GRA:SECOND,HOVER"); // the 52nd line: already the next set's
    std::string text;
    for (const std::string& line : lines) {
        text += line + '\0';
    }
    ViewDefinition view = ReadViewDefinition(text, "view_1", nullptr);
    EXPECT_EQ(view.ViewRegions[3].Area.X2, 3);
    EXPECT_EQ(view.ViewRegions[3].First, 2);
    EXPECT_EQ(view.ViewRegions[3].Last, 5);
    EXPECT_FALSE(view.Next.Defined());
    EXPECT_EQ(view.SetPictures[1], "SECOND,HOVER");
}

struct PercentCase {
    int32_t Seen, Total;
    std::array<int, 3> Digits;
};

class PercentageTest : public ::testing::TestWithParam<PercentCase> {};

TEST_P(PercentageTest, ShowsTheWholePercentInTheTensAndUnitsCells) {
    EXPECT_EQ(PercentageDigits(GetParam().Seen, GetParam().Total), GetParam().Digits);
}

INSTANTIATE_TEST_SUITE_P(Counts, PercentageTest,
                         ::testing::Values(PercentCase{7, 9, {-1, 7, 7}},
                                           PercentCase{5, 100, {-1, -1, 5}},
                                           PercentCase{9, 9, {1, 0, 0}},
                                           PercentCase{0, 9, {-1, -1, 0}},
                                           PercentCase{0, 0, {1, 0, 0}}));

// ---- The screen over a small game.

constexpr uint32_t kPage = 0x202020, kHover = 0xE0E0E0;

class GalleryTest : public ::testing::Test {
protected:
    void Start(std::string view, std::string main = "*viewer VIEW_1") {
        main.push_back('\0');
        std::vector<ArchiveEntryInput> texts{{"main", ToBytes(main)}, {"view", ToBytes(view)}};
        texts.push_back({"_config", ToBytes(NulLines({"MAKER_REG:Software\\Test", "GAME_ID:Gal"}))});
        auto picture = [](const char* name, int width, int height, uint32_t colour) {
            Surface surface(width, height);
            surface.Fill(colour);
            return ArchiveEntryInput{name, *EncodeGraPicture(surface, {})};
        };
        WriteFile(m_dir / "ov_data.orv", MakeTextArchive(texts));
        WriteFile(m_dir / "ov_gra.orv",
                  MakeArchive({picture("GPAGE", 800, 600, kPage), picture("GHOVER", 800, 600, kHover),
                               picture("A001", 800, 600, 0x0000AA)}));
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        Passes(5);
    }
    void Passes(int n) {
        for (int i = 0; i < n; ++i) {
            m_platform.Pass();
        }
    }
    void Click(int x, int y) {
        e().PBMouseMove(x, y);
        e().PBMouseDown(MouseButton::Left, x, y);
        e().PBMouseUp(MouseButton::Left, x, y);
    }
    Engine& e() { return *m_engine; }
    GalleryScreen& gallery() { return e().screens.gallery; }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(GalleryTest, SetAndViewRegionsReactOnlyInsideTheirRangeOfSets) {
    Start(NulLines({":VIEW_0", "{", "M1:0,0,10,10", "M2:20,0,30,10,1,1", "}", ":VIEW_1", "{",
                    "GRA:GPAGE,GHOVER", "SET:3", "P0:100,0,110,10,1,2,2", "P1:200,0,210,10,0,99,7",
                    "}", "{", "}", "{", "}", "{", "}", ":VIEW_2", "{", "SET:1", "}"}));
    ASSERT_EQ(e().screens.Mode(), screen_mode::Gallery);
    EXPECT_EQ(gallery().GalleryHitTest(5, 5), 0) << "VIEW_1 has no jump to itself";
    EXPECT_EQ(gallery().GalleryHitTest(25, 5), 0) << "M2 reacts from set 1 only";
    EXPECT_EQ(gallery().GalleryHitTest(105, 5), 0);
    gallery().CurrentSet = 1;
    EXPECT_EQ(gallery().GalleryHitTest(25, 5), gallery_item::FirstViewRegion + 2);
    EXPECT_EQ(gallery().GalleryHitTest(105, 5), gallery_item::FirstSetRegion);
    EXPECT_EQ(gallery().GalleryHitTest(110, 5), 0) << "right edges lie outside";
    gallery().CurrentSet = 0;
    // A target past the sets changes nothing.
    Click(205, 5);
    EXPECT_EQ(gallery().CurrentSet, 0);
    gallery().CurrentSet = 1;
    Click(105, 5);
    EXPECT_EQ(gallery().CurrentSet, 2);
    gallery().CurrentSet = 1;
    Click(25, 5);
    EXPECT_EQ(gallery().ViewName, "VIEW_2");
}

TEST_F(GalleryTest, AJumpToAViewTheResourceLacksChangesNothing) {
    Start(NulLines({":VIEW_1", "{", "GRA:GPAGE,GHOVER", "M4:0,0,10,10", "}"}));
    Click(5, 5);
    EXPECT_EQ(gallery().ViewName, "VIEW_1");
    EXPECT_EQ(e().screens.Mode(), screen_mode::Gallery);
}

TEST_F(GalleryTest, ASecondGallerySlotWhosePicturesAreInNoListStaysOnThePage) {
    // The second gallery numbers its pictures after the first's: its slot is open by its
    // own bit, but its name is not in the first gallery's list, so none of it counts as seen.
    std::string view = NulLines({":VIEW_1", "{", "}", "{", "1:A001", "}", ":2_VIEW_1", "{",
                                 "GRA:GPAGE,GHOVER", "THM_SIZE:50,50", "1:100,100", "}", "{",
                                 "1:B001,B001", "}"});
    Start(view, "*viewer 2_VIEW_1");
    ASSERT_EQ(gallery().PictureList().size(), 1u);
    e().vars.SetPictureUnlockedBit(1, true);
    gallery().OpenView("2_VIEW_1");
    ASSERT_EQ(gallery().View().SlotState[0][1], slot_state::Open);
    Click(120, 120);
    EXPECT_EQ(gallery().Viewing, 0);
    EXPECT_EQ(e().gfx.BackBuffer.Pixel(120, 120), kHover) << "still the page, lit";
}

TEST_F(GalleryTest, TheMusicPlayerPlaysStopsAndResumesTheLastTrack) {
    Start(NulLines({":VIEW_3", "{", "TYPE:3", "GRA:GPAGE,GHOVER", "THM_SIZE:50,50", "1:0,100",
                    "2:100,100", "NEXT:0,0,50,50", "PREV:100,0,150,50", "EXIT:200,0,250,50", "}"}),
          "*viewer VIEW_3");
    Click(120, 120);
    EXPECT_EQ(gallery().PlayingTrack, 2);
    EXPECT_EQ(e().vars.S(cell::MusicRequested), 2);
    Click(10, 10); // play while playing
    EXPECT_EQ(gallery().PlayingTrack, 2);
    Click(110, 10); // stop
    EXPECT_EQ(gallery().PlayingTrack, 0);
    EXPECT_EQ(e().vars.S(cell::MusicRequested), 0);
    Click(10, 10);
    EXPECT_EQ(gallery().PlayingTrack, 2);
    EXPECT_EQ(gallery().LastTrack, 2);
    Click(210, 10);
    EXPECT_EQ(e().screens.Mode(), screen_mode::Game);
}

TEST_F(GalleryTest, FadesAtTheRightEdgeStayOnTheScreen) {
    Start(NulLines({":VIEW_1", "{", "GRA:GPAGE,GHOVER", "EXIT:790,590,805,605", "}"}));
    e().PBMouseMove(795, 595);
    EXPECT_EQ(e().gfx.BackBuffer.Pixel(799, 599), kHover);
    e().PBMouseMove(100, 100);
    Passes(20);
    EXPECT_EQ(e().gfx.BackBuffer.Pixel(799, 599), kPage);
}

} // namespace
} // namespace orv::test
