// Saved games on the engine: the file as written, the round trip, the resume position,
// files that cannot be loaded, and the global data's checksum and merge.
#include "save/save_slots.h"

#include "base/files.h"
#include "engine/engine.h"
#include "save/global_data.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <memory>

#include "engine/fake_platform.h"
#include "test_support.h"

namespace orv::test {
namespace {

class SaveSlotTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_dir / "ov_gra.orv", MakeArchive({}));
        WriteScripts({{"main", {"!V001=7", "*title Chapter", "*sleep 10", "!V002=8",
                                "*backto", "*select", "{one", "!V003=1", "{two", "!V003=2",
                                "}", "*sleep 10"}},
                      {"other", {"!V005=5", "*sleep 10"}}});
        m_platform.Time.tm_year = 2026 - 1900;
        m_platform.Time.tm_mon = 11;
        m_platform.Time.tm_mday = 9;
        m_platform.Time.tm_hour = 18;
        m_platform.Time.tm_min = 5;
        m_platform.Time.tm_sec = 30;
    }

    void WriteScripts(const std::vector<std::pair<std::string, std::vector<std::string>>>& scripts) {
        std::vector<ArchiveEntryInput> entries;
        for (const auto& [name, lines] : scripts) {
            std::string text;
            for (const std::string& line : lines) {
                text += line;
                text.push_back('\0');
            }
            entries.push_back({name, ToBytes(text)});
        }
        WriteFile(m_dir / "ov_data.orv", MakeTextArchive(entries));
    }

    Engine& Start() {
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        m_engine->text.Delay = 1;
        return *m_engine;
    }
    // Passes until the script waits for the click of a sleep, or a choice.
    void RunToWait() {
        for (int i = 0; i < 50; ++i) {
            m_platform.Pass();
            if (m_engine->wait.PassWait == -1 || m_engine->choices.SelectionKind != 0) {
                return;
            }
        }
        FAIL() << "the script did not come to a wait";
    }
    void Click() {
        m_engine->PBMouseDown(MouseButton::Left, 400, 300);
        m_engine->PBMouseUp(MouseButton::Left, 400, 300);
    }
    std::filesystem::path Slot(int n) { return m_engine->saves.Location.SlotPath(n); }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(SaveSlotTest, ASaveIsOneFileOfTheFormatsSizeWithItsDateLineAndComment) {
    Engine& e = Start();
    RunToWait();
    e.saves.QuickSave();
    std::optional<Bytes> file = ReadWholeFile(Slot(99));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), 220738u);
    EXPECT_EQ(Slot(99).filename(), "save99.dat");
    EXPECT_EQ(Slot(99).parent_path().filename(), "save");
    std::string_view header(reinterpret_cast<const char*>(file->data()), 128);
    EXPECT_EQ(header.substr(0, 29), std::string_view("2026/12/09 18:05:30  Chapter\0", 29));
    EXPECT_EQ(header.substr(96, 11), std::string_view("Quick Save\0", 11));
    // The banner followed the save; the quick save plays its sound.
    EXPECT_FALSE(e.blocking.Busy());
    std::optional<SlotSummary> summary = e.saves.ReadSlotSummary(99);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->Date, "2026/12/09 18:05:30");
    EXPECT_EQ(summary->Detail, " Chapter");
    EXPECT_EQ(summary->Comment, "Quick Save");
    EXPECT_FALSE(e.saves.ReadSlotSummary(3));
}

TEST_F(SaveSlotTest, TheMapAddsMapAfterALongTitleInsideTheDateField) {
    Engine& e = Start();
    RunToWait();
    std::string title(63, 'T');
    CopyName(e.dispatcher.ChapterTitle, title);
    e.screens.Open(e.screens.map);
    ASSERT_TRUE(e.saves.SaveSlot(4, true));
    std::optional<Bytes> file = ReadWholeFile(Slot(4));
    ASSERT_TRUE(file);
    std::string line(reinterpret_cast<const char*>(file->data()));
    EXPECT_EQ(line, "2026/12/09 18:05:30  " + title + "(Map)");
    EXPECT_EQ(LoadU32(file->data() + 17570 + 4 * 14), 0u) << "saved as the game";
}

TEST_F(SaveSlotTest, ALoadedGameGoesOnWhereItWasSaved) {
    Engine& e = Start();
    RunToWait();
    ASSERT_EQ(e.vars.V(1), 7);
    ASSERT_TRUE(e.saves.SaveSlot(1, true));
    Click();
    RunToWait();
    e.vars.V(1) = 99;
    e.vars.SetString(5, "changed");
    EXPECT_EQ(e.choices.SelectionKind, 1);
    EXPECT_TRUE(e.saves.LoadSlot(1, true));
    EXPECT_EQ(e.vars.V(1), 7);
    EXPECT_EQ(e.vars.V(2), 0);
    EXPECT_EQ(e.choices.SelectionKind, 0) << "the choice of the running game is gone";
    EXPECT_EQ(e.script.CurrentScriptNameText(), "main");
    EXPECT_FALSE(e.blocking.Busy());
    // On from the line after the sleep that was waiting.
    Click();
    RunToWait();
    EXPECT_EQ(e.vars.V(2), 8);
}

TEST_F(SaveSlotTest, ASaveWhileAChoiceWaitsLoadsBackToTheBacktoLine) {
    Engine& e = Start();
    RunToWait();
    Click();
    RunToWait();
    ASSERT_EQ(e.choices.SelectionKind, 1);
    ASSERT_NE(e.vars.S(cell::ResumePoint), 0);
    ASSERT_TRUE(e.saves.SaveSlot(2, true));
    ASSERT_TRUE(e.saves.LoadSlot(2, true));
    e.vars.V(2) = 0;
    // The backto line and the choice after it run again.
    RunToWait();
    EXPECT_EQ(e.choices.SelectionKind, 1);
    EXPECT_EQ(e.vars.V(2), 0) << "resumed after the assignment, at backto";
}

TEST_F(SaveSlotTest, AFileThatCannotBeLoadedLeavesTheGameAsItWasAndSaysWhy) {
    Engine& e = Start();
    RunToWait();
    ASSERT_TRUE(e.saves.SaveSlot(1, true));
    Bytes good = *ReadWholeFile(Slot(1));
    auto loadDamaged = [&](Bytes file) {
        WriteFile(Slot(1), file);
        e.vars.V(9) = 1234;
        int32_t readPos = e.script.ReadPos;
        size_t boxes = m_platform.Boxes.size();
        bool loaded = e.saves.LoadSlot(1, true);
        if (!loaded) {
            EXPECT_EQ(m_platform.Boxes.size(), boxes + 1) << "the player is told";
            EXPECT_EQ(e.vars.V(9), 1234);
            EXPECT_EQ(e.script.ReadPos, readPos);
        }
        return loaded;
    };
    // Too short to name its script; a script the game does not have.
    EXPECT_FALSE(loadDamaged(Bytes(good.begin(), good.begin() + 30000)));
    Bytes unknown = good;
    std::memcpy(unknown.data() + 33874 + 300, "NOSUCH\0", 7);
    EXPECT_FALSE(loadDamaged(unknown));
    // Hostile numbers and names without NULs load into bounded fields.
    Bytes hostile = good;
    StoreU32(hostile.data() + 17570, 50);                 // call depth
    StoreU32(hostile.data() + 17570 + 4 * 28, 5000);      // line position
    StoreU32(hostile.data() + 17570 + 4 * 26, 0xFFFFFF00); // resume position
    StoreU32(hostile.data() + 17570 + 4 * 17, 0x80000000); // text column
    std::fill(hostile.begin() + 33874, hostile.begin() + 33874 + 300, uint8_t{'x'});
    EXPECT_TRUE(loadDamaged(hostile));
    EXPECT_LE(e.dispatcher.CallDepth, Dispatcher::kCallStackSize);
    EXPECT_LT(e.script.LinePos, ScriptState::kLineBufferSize);
    EXPECT_GE(e.script.ReadPos, 0);
    EXPECT_GE(e.text.TextColumn, 0);
    EXPECT_EQ(FieldText(e.dispatcher.CallNames[0]).size(), 29u);
    for (int i = 0; i < 5; ++i) {
        m_platform.Pass();
    }
}

TEST_F(SaveSlotTest, ASaveThatCannotBeWrittenKeepsTheOldFileAndSaysSo) {
    Engine& e = Start();
    RunToWait();
    ASSERT_TRUE(e.saves.SaveSlot(1, true));
    Bytes before = *ReadWholeFile(Slot(1));
    std::filesystem::permissions(Slot(1).parent_path(), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec);
    e.vars.V(1) = 42;
    size_t boxes = m_platform.Boxes.size();
    bool saved = e.saves.SaveSlot(1, false);
    std::filesystem::permissions(Slot(1).parent_path(), std::filesystem::perms::owner_all);
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(m_platform.Boxes.size(), boxes + 1);
    EXPECT_EQ(*ReadWholeFile(Slot(1)), before);
    EXPECT_FALSE(e.blocking.Busy());
}

TEST_F(SaveSlotTest, TheCommentIsCutOnACharacterAndDeletionEmptiesTheSlot) {
    Engine& e = Start();
    RunToWait();
    ASSERT_TRUE(e.saves.SaveSlot(5, true));
    // 29 bytes of ASCII and a double-byte character: the character does not fit.
    std::string comment(29, 'c');
    comment += "\x82\xa0";
    ASSERT_TRUE(e.saves.SetSaveComment(5, comment));
    EXPECT_EQ(e.saves.ReadSlotSummary(5)->Comment, std::string(29, 'c'));
    EXPECT_FALSE(e.saves.SetSaveComment(6, "no such slot"));
    EXPECT_TRUE(e.saves.DeleteSlot(5));
    EXPECT_FALSE(e.saves.ReadSlotSummary(5));
}

TEST(GlobalChecksum, IsTheTableSumOfTheFormatStartedFrom1234) {
    const uint8_t abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(GlobalChecksum(abc), 0x2004BC8Au);
    EXPECT_EQ(GlobalChecksum({}), 1234u);
    Bytes zeros(11136, 0);
    // One running sum over blocks equals the sum over them joined.
    uint32_t split = GlobalChecksum(std::span(zeros).subspan(128), GlobalChecksum(std::span(zeros).first(128)));
    EXPECT_EQ(split, GlobalChecksum(zeros));
}

TEST_F(SaveSlotTest, TheGlobalFileOnlyEverAddsBitsAndADamagedOneIsKeptAside) {
    Engine& e = Start();
    e.vars.SetReadMark(100);
    e.vars.SetFlag(FlagKind::E, 5);
    e.globals.Save();
    std::filesystem::path global = e.saves.Location.GlobalPath();
    ASSERT_EQ(FileSize(global), 11140u);
    // Bits in memory and bits in the file both survive the merge.
    e.vars.ReadMarks.fill(0);
    e.vars.ClearFlag(FlagKind::E, 5);
    e.vars.SetReadMark(200);
    e.globals.Save();
    EXPECT_TRUE(e.vars.ReadMark(100));
    EXPECT_TRUE(e.vars.ReadMark(200));
    EXPECT_TRUE(e.vars.TestFlag(FlagKind::E, 5));
    // The change count lives in its word, never merged as bits.
    e.globals.CharacterChangeCount = 3;
    e.globals.Save();
    e.globals.CharacterChangeCount = 0;
    e.globals.Sync(true);
    EXPECT_EQ(e.globals.CharacterChangeCount, 3);
    // One byte changed: the checksum fails, the file is kept as .bad and rebuilt from memory.
    Bytes file = *ReadWholeFile(global);
    file[20] ^= 1;
    WriteFile(global, file);
    e.globals.Save();
    EXPECT_TRUE(std::filesystem::exists(global.string() + ".bad"));
    EXPECT_FALSE(e.vars.ReadMark(100)) << "read marks go with a damaged file";
    EXPECT_TRUE(e.vars.TestFlag(FlagKind::E, 5));
    Bytes rebuilt = *ReadWholeFile(global);
    EXPECT_EQ(LoadU32(rebuilt.data() + 11136), GlobalChecksum(std::span(rebuilt).first(11136)));
}

TEST_F(SaveSlotTest, GameClearedTwiceCountsTwo) {
    Engine& e = Start();
    e.globals.GameCleared();
    e.globals.GameCleared();
    EXPECT_EQ(e.vars.S(cell::ClearCount), 2);
    EXPECT_TRUE(e.vars.TestFlag(FlagKind::E, 999));
}

TEST_F(SaveSlotTest, TheTrackOfTheLoadedGameIsStartedAgainOrSilenced) {
    WriteFile(m_dir / "ov_bgm.orv",
              MakeArchive({{"M03", ToBytes("not a stream")}, {"M05", ToBytes("nor this")}}));
    Engine& e = Start();
    RunToWait();
    e.vars.S(cell::MusicPlaying) = 5;
    ASSERT_TRUE(e.saves.SaveSlot(1, true));
    e.vars.S(cell::MusicPlaying) = 0;
    ASSERT_TRUE(e.saves.SaveSlot(2, true));
    // Track 5 playing, slot 1 made with track 5: the load stops the music and starts it again.
    e.sound.SetMusic(5);
    ASSERT_TRUE(e.saves.LoadSlot(1, true));
    EXPECT_EQ(e.vars.S(cell::MusicPlaying), 5);
    EXPECT_EQ(e.vars.S(cell::MusicRequested), 5);
    // Slot 2 was made in silence: the music stops and stays stopped.
    ASSERT_TRUE(e.saves.LoadSlot(2, true));
    EXPECT_EQ(e.vars.S(cell::MusicPlaying), 0);
    EXPECT_FALSE(e.sound.music.Playing());
}

TEST(SaveLocationTest, SavesGoBesideAWritableGameAndFindWindowsNamesInAnyCase) {
    TempDir game, user;
    WriteFile(game / "SAVE" / "SAVE07.DAT", "old");
    SaveLocation beside(game.Path(), {}, "GAME");
    EXPECT_EQ(beside.Folder(), game.Path());
    EXPECT_EQ(beside.SlotPath(7), game / "SAVE" / "SAVE07.DAT");
    EXPECT_EQ(beside.SlotPath(8), game / "SAVE" / "save08.dat");
    EXPECT_EQ(beside.GlobalPath(), game / "save0.dat");
    SaveLocation given(game.Path(), user.Path(), "GAME");
    EXPECT_EQ(given.SlotPath(1), user / "save" / "save01.dat");
    if (::geteuid() != 0) {
        std::filesystem::permissions(game.Path(), std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::owner_exec);
        ::setenv("XDG_DATA_HOME", user.Path().c_str(), 1);
        SaveLocation elsewhere(game.Path(), {}, "GAME/../X");
        EXPECT_EQ(elsewhere.Folder(), user / "orvell" / "GAME_.._X");
        std::filesystem::permissions(game.Path(), std::filesystem::perms::owner_all);
    }
}

} // namespace
} // namespace orv::test
