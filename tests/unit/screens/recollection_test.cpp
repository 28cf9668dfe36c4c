#include "screens/recollection_screen.h"

#include "base/files.h"
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

const std::string kFlashback = NulLines({"first,second", ":first", "*Aoi", "Hill:s_hill",
                                         "Room,s_room", "*", ":second", "Sea,s_sea", ":end",
                                         "After,s_after"});

// ---- The list.

TEST(SceneListTest, SettingStartsTheCategoriesAgainAndTheListEndsAtItsEndLabel) {
    SceneList list;
    list.Read(NulLines({"first,second", ":setting", "route", ":first", "*Aoi", "Hill:s_hill",
                        "Room,s_room", "*", ":second", "Sea,s_sea", ":route", "Last,s_last",
                        ":end", "After,s_after"}));
    EXPECT_EQ(list.CategoryCount, 1);
    EXPECT_EQ(list.CategoryPages[0], (std::vector<std::string>{":ROUTE"}));
    EXPECT_EQ(list.Titles, (std::vector<std::string>{":FIRST", "*AOI", "HILL", "ROOM", "*", ":SECOND",
                                                     "SEA", ":ROUTE", "LAST", ":END"}));
    EXPECT_EQ(list.Scripts[2], "S_HILL");
    EXPECT_EQ(list.Scripts[3], "S_ROOM");
    EXPECT_TRUE(list.IsScene(2));
    EXPECT_FALSE(list.IsScene(1)) << "a heading";
    EXPECT_FALSE(list.IsScene(7)) << "a label";
    EXPECT_FALSE(list.IsScene(10)) << "past the list";
    EXPECT_EQ(list.HeadingAbove(3), 1);
    EXPECT_EQ(list.HeadingAbove(6), 1) << "the bare * is no heading";
}

TEST(SceneListTest, CategoriesAndPagesStopAtEight) {
    std::vector<std::string> lines;
    for (int i = 0; i < 10; ++i) {
        lines.emplace_back("a,b,c,d,e,f,g,h,i,j");
    }
    lines.emplace_back(":A");
    std::string text;
    for (const std::string& line : lines) {
        text += line + '\0';
    }
    SceneList list;
    list.Read(text);
    EXPECT_EQ(list.CategoryCount, SceneList::kMaxCategories);
    EXPECT_EQ(list.CategoryPages[7].size(), size_t{SceneList::kMaxPages});
}

// ---- Playlist edits.

Playlist Rows(std::initializer_list<int32_t> entries) {
    Playlist list{};
    std::copy(entries.begin(), entries.end(), list.begin());
    return list;
}

TEST(PlaylistTest, DropsAppendAfterTheLastEntryOrInsertOnAnOccupiedRow) {
    Playlist list = Rows({5, 6});
    DropOnPlaylist(list, 10, 7);
    EXPECT_EQ(list, Rows({5, 6, 7}));
    DropOnPlaylist(list, 1, 8);
    EXPECT_EQ(list, Rows({5, 8, 6, 7}));
    Playlist full{};
    std::fill(full.begin(), full.begin() + kPlaylistRows, 3);
    full[kPlaylistRows - 1] = 9;
    full[30] = 4; // beyond the shown rows: not moved
    DropOnPlaylist(full, 0, 1);
    EXPECT_EQ(full[0], 1);
    EXPECT_EQ(full[kPlaylistRows - 1], 3) << "the last shown row's entry is lost";
    EXPECT_EQ(full[30], 4);
}

TEST(PlaylistTest, RemovingMovesTheRowsUpAndAHoleCutsTheRest) {
    Playlist list = Rows({5, 6, 7});
    EXPECT_EQ(RemovePlaylistRow(list, 0), 5);
    EXPECT_EQ(list, Rows({6, 7}));
    EXPECT_EQ(RemovePlaylistRow(list, 40), 0) << "no row that far";
    Playlist holed = Rows({5, 0, 7});
    holed[40] = 8;
    CutPlaylistAtHole(holed);
    EXPECT_EQ(holed, Rows({5}));
}

TEST(PlaylistTest, EntriesThatNameNoSceneEndThePlaylist) {
    SceneList list;
    list.Read(kFlashback);
    EXPECT_EQ(PlaylistLength(Rows({2, 3, 6}), list), 3);
    for (int32_t bad : {-1, 1, 4, 5, 7, 8, 99999, INT32_MIN}) {
        EXPECT_EQ(PlaylistLength(Rows({2, bad, 3}), list), 1) << bad;
    }
    Playlist all{};
    all.fill(2);
    EXPECT_EQ(PlaylistLength(all, list), kPlaylistRows);
    EXPECT_EQ(PlaylistLength(all, list, kPlaylistEntries), kPlaylistEntries);
}

// ---- The screen.

namespace L = recollection_layout;

class RecollectionTest : public ::testing::Test {
protected:
    void Start(const std::vector<int32_t>& slot0 = {}) {
        m_engine.reset();
        std::vector<ArchiveEntryInput> texts{
            {"main", ToBytes(NulLines({"*call s_hill", "*call s_room", "*kaisou", "!V001=1"}))},
            {"sys_flashbak", ToBytes(kFlashback)},
            {"s_hill", ToBytes(NulLines({"*end"}))},
            {"s_room", ToBytes(NulLines({"*end"}))},
            {"k_s_hill", ToBytes(NulLines({"!V002=V002+1", "*exit"}))},
            {"k_s_room", ToBytes(NulLines({"!V003=V003+1", "*exit"}))},
            {"_config", ToBytes(NulLines({"MAKER_REG:Software\\Test", "GAME_ID:Rec"}))}};
        Surface base(800, 600);
        base.Fill(0x101010);
        WriteFile(m_dir / "ov_data.orv", MakeTextArchive(texts));
        WriteFile(m_dir / "ov_gra.orv", MakeArchive({{"ss_kaiso", *EncodeGraPicture(base, {})}}));
        if (!slot0.empty()) {
            Bytes file(global_layout::kRecollectionFileSize, 0);
            for (size_t k = 0; k < slot0.size(); ++k) {
                StoreU32(file.data() + global_layout::RecordEntryOffset(0, static_cast<int>(k)),
                         static_cast<uint32_t>(slot0[k]));
            }
            WriteFile(m_dir / "data" / "kaiso.dat", file);
        }
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        Passes(10);
        ASSERT_EQ(e().screens.Mode(), screen_mode::Recollection);
    }
    void Passes(int n) {
        for (int i = 0; i < n; ++i) {
            m_platform.Pass();
        }
    }
    // The cell of list entry n's row on the first page: HILL in cell 3, ROOM in cell 4 (the
    // heading takes the first row).
    static int CellXOf(int cell) { return (cell % 3) * L::kCellWidth + L::kListLeft + 5; }
    static int CellYOf(int cell) { return (cell / 3) * L::kCellHeight + L::kListTop + 5; }
    void Drag(int fromX, int fromY, int toX, int toY) {
        e().PBMouseMove(fromX, fromY);
        e().PBMouseDown(MouseButton::Left, fromX, fromY);
        e().PBMouseMove(toX, toY);
        e().PBMouseUp(MouseButton::Left, toX, toY);
        screen().DoubleClickTicks = 0;
    }
    int RowY(int row) { return L::kPanelY + L::kRowHeight * row + 4; }
    Engine& e() { return *m_engine; }
    RecollectionScreen& screen() { return e().screens.recollection; }
    Playlist& slot() { return e().globals.RecordSlots[0]; }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(RecollectionTest, PlayedScenesAndTheirHeadingAreSeenAndFillTheirCells) {
    Start();
    EXPECT_TRUE(e().vars.SceneSeenBit(2));
    EXPECT_TRUE(e().vars.SceneSeenBit(3));
    EXPECT_TRUE(e().vars.SceneSeenBit(1)) << "the heading above them";
    screen().CategoryPage[0] = 0;
    EXPECT_EQ(screen().CellScenes[3], 2);
    EXPECT_EQ(screen().CellScenes[4], 3);
}

TEST_F(RecollectionTest, DropsAppendInsertAndDeleteAndEveryEditIsWrittenAtOnce) {
    Start();
    // The label's drop point is 50 right of and 10 below its left top.
    int panelX = L::kPanelX + 10 - 50;
    Drag(CellXOf(3), CellYOf(3), panelX + 5, RowY(6) - 10 + 5);
    EXPECT_EQ(slot()[0], 2) << "appended after the last entry";
    Drag(CellXOf(4), CellYOf(4), panelX + 5, RowY(0) - 10 + 5);
    EXPECT_EQ(slot()[0], 3) << "inserted on an occupied row";
    EXPECT_EQ(slot()[1], 2);
    std::optional<Bytes> file = ReadWholeFile(e().saves.Location.RecollectionPath());
    ASSERT_TRUE(file);
    EXPECT_EQ(LoadU32(file->data() + global_layout::RecordEntryOffset(0, 1)), 2u);
    // A row dragged out of the panel is deleted.
    e().PBMouseMove(L::kPanelX + 20, RowY(0));
    EXPECT_EQ(screen().HoverCode, recollection_hover::FirstRow);
    Drag(L::kPanelX + 20, RowY(0), 100, 300);
    EXPECT_EQ(slot()[0], 2);
    EXPECT_EQ(slot()[1], 0);
}

TEST_F(RecollectionTest, AHoleInAPlaylistCutsItAtTheNextDrop) {
    Start({2, 0, 3});
    EXPECT_EQ(slot()[2], 3);
    Drag(CellXOf(3), CellYOf(3), 100, 300); // dropped outside: nothing added
    EXPECT_EQ(slot()[2], 0);
}

TEST_F(RecollectionTest, ASecondPressWithinFiveTicksPlaysTheSceneAndItsExitComesBack) {
    for (int ticks : {4, 5}) {
        Start();
        e().PBMouseMove(CellXOf(3), CellYOf(3));
        e().PBMouseDown(MouseButton::Left, CellXOf(3), CellYOf(3));
        e().PBMouseUp(MouseButton::Left, CellXOf(3), CellYOf(3));
        for (int t = 0; t < ticks; ++t) {
            screen().Tick();
        }
        e().PBMouseDown(MouseButton::Left, CellXOf(3), CellYOf(3));
        if (ticks == 5) {
            EXPECT_EQ(e().screens.Mode(), screen_mode::Recollection) << "too late: a new drag";
            continue;
        }
        EXPECT_EQ(e().screens.ReplayMode, replay_mode::Recollection);
        EXPECT_EQ(e().dispatcher.CallDepth, 0);
        Passes(5);
        EXPECT_EQ(e().vars.V(2), 1);
        EXPECT_EQ(e().screens.Mode(), screen_mode::Recollection);
        EXPECT_EQ(e().screens.ReplayMode, replay_mode::None);
        EXPECT_EQ(e().script.CurrentScriptNameText(), "main");
    }
}

TEST_F(RecollectionTest, HostileSlotEntriesEndTheQueueAndNothingReadsOutsideTheList) {
    Start({2, 3, 7, 2});
    // Play the slot: the queue stops before the label.
    e().PBMouseMove(680, 560);
    e().PBMouseDown(MouseButton::Left, 680, 560);
    EXPECT_EQ(screen().PlayQueue[1], 3);
    EXPECT_EQ(screen().PlayQueue[2], 0);
    Passes(5);
    Passes(5);
    EXPECT_EQ(e().vars.V(2), 1);
    EXPECT_EQ(e().vars.V(3), 1);
    EXPECT_EQ(e().screens.Mode(), screen_mode::Recollection);
    for (int32_t bad : {INT32_MIN, -5, 99999, 1}) {
        slot()[0] = bad;
        screen().DrawEverything();
        e().PBMouseMove(L::kPanelX + 20, RowY(0));
        EXPECT_EQ(screen().HoverCode, 0) << bad;
    }
}

TEST_F(RecollectionTest, AnEmptySlotNameShowsItsNumberAndTheCloseButtonGoesOn) {
    Start();
    screen().CurrentSlot = 2;
    screen().DrawEverything();
    EXPECT_STREQ(e().globals.RecordNames[2].data(), "Record Slot 3");
    e().PBMouseMove(600, 560);
    e().PBMouseDown(MouseButton::Left, 600, 560);
    EXPECT_EQ(e().screens.Mode(), screen_mode::Game);
    Passes(3);
    EXPECT_EQ(e().vars.V(1), 1);
}

} // namespace
} // namespace orv::test
