#include "save/save_io.h"

#include "engine/engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "engine/fake_platform.h"
#include "test_support.h"

namespace orv::test {
namespace {

class SaveExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_dir / "ov_data.orv", MakeTextArchive({{"main", ToBytes("line one")}}));
        WriteFile(m_dir / "ov_gra.orv", MakeArchive({}));
    }

    std::unique_ptr<Engine> Start(FakePlatform& platform) {
        return StartEngine(platform, m_dir.Path(), m_dir / "data");
    }

    static void Write(Engine& engine) {
        SaveIo io(engine.saves.Image, SaveIo::Direction::Write);
        engine.saves.ExchangeGameState(io);
    }
    static void Read(Engine& engine) {
        SaveIo io(engine.saves.Image, SaveIo::Direction::Read);
        engine.saves.ExchangeGameState(io);
    }
    static int32_t IntAt(const Engine& engine, size_t offset) {
        return static_cast<int32_t>(LoadU32(engine.saves.Image.Bytes().data() + offset));
    }
    static std::string_view TextAt(const Engine& engine, size_t offset) {
        return reinterpret_cast<const char*>(engine.saves.Image.Bytes().data() + offset);
    }

    // A game in progress whose every saved field holds a value of its own.
    static void FillGameState(Engine& e) {
        std::mt19937 random(7);
        auto fill = [&random](auto& bytes) {
            for (auto& b : bytes) {
                b = static_cast<std::remove_reference_t<decltype(b)>>(random());
            }
        };
        VariableStore& vars = e.vars;
        fill(vars.FFlags);
        fill(vars.TFlags);
        fill(vars.ReadMarks);
        for (int i = 0; i < 1000; ++i) {
            vars.V(i) = static_cast<int32_t>(random());
        }
        for (int i = 0; i < cell::kSavedCells; ++i) {
            vars.S(i) = static_cast<int32_t>(random());
        }
        vars.S(cell::NovelMode) = 1;
        for (int n = 0; n < VariableStore::kStringCount; ++n) {
            vars.SetString(n, "string " + std::to_string(n));
        }
        Dispatcher& d = e.dispatcher;
        d.CallDepth = 3;
        for (int level = 0; level < Dispatcher::kCallStackSize; ++level) {
            d.CallReturn[level] = 100 * level + 1;
            CopyName(d.CallNames[level], "CALLER" + std::to_string(level));
        }
        CopyName(d.ReturnScriptName, "RETURN");
        d.LineStart = 77;
        TextFlow& t = e.text;
        t.WindowShown = 1;
        t.CharDelay = 7;
        t.TextColumn = 12;
        t.TextRow = 3;
        t.PageChars = 55;
        t.WideSpacing = true;
        t.PageEmpty = false;
        for (auto& row : t.PageText) {
            fill(row);
        }
        for (auto& row : t.PageColours) {
            fill(row);
        }
        CopyName(t.SpeakerName, "SPEAKER");
        e.wait.TickWait = 9;
        e.wait.WaitKind = wait_kind::PageKeepVoice;
        e.screens.Open(e.screens.pageReview);
        CopyName(e.gfx.Scene.BackgroundName, "A010");
        CopyName(e.gfx.Scene.CharacterDescription, "B001,B002,B003");
        CopyName(e.gfx.Scene.OverlayName, "OVR");
        e.gfx.Scene.PrepareFlag = 1;
        e.ScriptRunning = 1;
        ScriptState& s = e.script;
        std::snprintf(s.LineBuffer.data(), s.LineBuffer.size(), "the line being typed");
        std::snprintf(s.CurrentScriptName.data(), s.CurrentScriptName.size(), "SCENE01");
        s.NeedLine = 0;
        s.ReadPos = 1234;
        s.ScriptSize = 4321;
        s.LinePos = 17;
        e.choices.Record.SetScriptName("RECORDED");
        CopyName(e.sound.LastVoice, "V0001");
        Backlog& log = e.backlog;
        for (int i = 0; i < 150; ++i) {
            log.AppendBacklogBytes("log line " + std::to_string(i));
            log.CommitBacklogLine();
        }
        log.AppendVoiceEntry("V0009");
        log.AppendBacklogBytes("partial"); // the line being written
        log.Rewind.SnapshotCounter = 77;
        for (size_t i = 0; i < log.Rewind.Pages.size(); ++i) {
            PageSnapshot& page = log.Rewind.Pages[i];
            for (auto& row : page.PageText) {
                fill(row);
            }
            CopyName(page.Scene, "A00" + std::to_string(i) + ",B001,B002");
            CopyName(page.Voices, "V" + std::to_string(i) + " W" + std::to_string(i) + " ");
            page.OverlayWeight = static_cast<int32_t>(random());
            page.LayoutFlag = static_cast<int32_t>(i % 2);
            for (size_t k = 0; k < page.PositionsX.size(); ++k) {
                page.PositionsX[k] = static_cast<int32_t>(random());
                page.PositionsY[k] = static_cast<int32_t>(random());
            }
        }
    }

    TempDir m_dir;
    FakePlatform m_first, m_second;
};

TEST_F(SaveExchangeTest, EveryFieldComesBackIntoAFreshEngine) {
    auto saved = Start(m_first);
    FillGameState(*saved);
    Write(*saved);
    auto loaded = Start(m_second);
    std::memcpy(loaded->saves.Image.Bytes().data(), saved->saves.Image.Bytes().data(),
                save_layout::kFileSize);
    Read(*loaded);

    const Engine& a = *saved;
    const Engine& b = *loaded;
    EXPECT_EQ(b.vars.FFlags, a.vars.FFlags);
    EXPECT_EQ(b.vars.TFlags, a.vars.TFlags);
    EXPECT_EQ(b.vars.ReadMarks, a.vars.ReadMarks);
    EXPECT_TRUE(std::equal(a.vars.Cells.begin(), a.vars.Cells.begin() + 1000, b.vars.Cells.begin()));
    for (int i = 0; i < cell::kSavedCells; ++i) {
        ASSERT_EQ(b.vars.S(i), a.vars.S(i)) << "S" << i;
    }
    EXPECT_EQ(b.vars.String(9), "string 9");
    EXPECT_EQ(b.dispatcher.CallDepth, 3);
    EXPECT_TRUE(std::equal(std::begin(a.dispatcher.CallReturn), std::end(a.dispatcher.CallReturn),
                           std::begin(b.dispatcher.CallReturn)));
    EXPECT_EQ(FieldText(b.dispatcher.CallNames[8]), "CALLER8");
    EXPECT_EQ(FieldText(b.dispatcher.ReturnScriptName), "RETURN");
    EXPECT_EQ(b.dispatcher.LineStart, 77);
    EXPECT_EQ(b.text.WindowShown, 1);
    EXPECT_EQ(b.text.CharDelay, 7);
    EXPECT_EQ(b.text.TextColumn, 12);
    EXPECT_EQ(b.text.TextRow, 3);
    EXPECT_EQ(b.text.PageChars, 55);
    EXPECT_TRUE(b.text.WideSpacing);
    EXPECT_FALSE(b.text.PageEmpty);
    EXPECT_EQ(b.text.PageText, a.text.PageText);
    EXPECT_EQ(b.text.PageColours, a.text.PageColours);
    EXPECT_EQ(FieldText(b.text.SpeakerName), "SPEAKER");
    EXPECT_EQ(b.wait.TickWait, 9);
    EXPECT_EQ(b.wait.WaitKind, wait_kind::PageKeepVoice);
    EXPECT_EQ(b.screens.Mode(), screen_mode::PageReview);
    EXPECT_EQ(FieldText(b.gfx.Scene.BackgroundName), "A010");
    EXPECT_EQ(FieldText(b.gfx.Scene.CharacterDescription), "B001,B002,B003");
    EXPECT_EQ(FieldText(b.gfx.Scene.OverlayName), "OVR");
    EXPECT_EQ(b.gfx.Scene.PrepareFlag, 1);
    EXPECT_EQ(b.ScriptRunning, 1);
    EXPECT_STREQ(b.script.LineBuffer.data(), "the line being typed");
    EXPECT_EQ(b.script.CurrentScriptNameText(), "SCENE01");
    EXPECT_EQ(b.script.NeedLine, 0);
    EXPECT_EQ(b.script.ReadPos, 1234);
    EXPECT_EQ(b.script.ScriptSize, 4321);
    EXPECT_EQ(b.script.LinePos, 17);
    EXPECT_EQ(b.choices.Record.ScriptName(), "RECORDED");
    EXPECT_EQ(FieldText(b.sound.LastVoice), "V0001");
    const Backlog& logA = a.backlog;
    const Backlog& logB = b.backlog;
    EXPECT_EQ(logB.Lines.Count(), 151);
    EXPECT_EQ(logB.Lines.WritePos(), logA.Lines.WritePos());
    for (int32_t i = 0; i <= logA.Lines.Count(); ++i) {
        ASSERT_EQ(logB.Lines.Line(i), logA.Lines.Line(i)) << "line " << i;
    }
    EXPECT_EQ(logB.Lines.Line(151), "partial");
    EXPECT_EQ(logB.Rewind.SnapshotCounter, 77);
    for (size_t i = 0; i < logA.Rewind.Pages.size(); ++i) {
        const PageSnapshot& pa = logA.Rewind.Pages[i];
        const PageSnapshot& pb = logB.Rewind.Pages[i];
        ASSERT_EQ(pb.PageText, pa.PageText) << "page " << i;
        ASSERT_STREQ(pb.Scene, pa.Scene);
        ASSERT_STREQ(pb.Voices, pa.Voices);
        ASSERT_EQ(pb.OverlayWeight, pa.OverlayWeight);
        ASSERT_EQ(pb.LayoutFlag, pa.LayoutFlag);
        ASSERT_EQ(pb.PositionsX, pa.PositionsX);
        ASSERT_EQ(pb.PositionsY, pa.PositionsY);
    }

    // Written out again, the loaded game gives the same file: nothing read is dropped.
    std::vector<uint8_t> first(saved->saves.Image.Bytes().begin(), saved->saves.Image.Bytes().end());
    loaded->saves.Image.Clear();
    Write(*loaded);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), loaded->saves.Image.Bytes().begin()));
}

// Offsets of the file format itself, written out independently of the layout header.
TEST_F(SaveExchangeTest, FieldsLandAtTheOffsetsOfTheFileFormat) {
    auto engine = Start(m_first);
    FillGameState(*engine);
    engine->screens.Close(engine->screens.pageReview);
    engine->screens.Open(engine->screens.map);
    Write(*engine);
    const Engine& e = *engine;
    EXPECT_EQ(IntAt(e, 1280), e.vars.V(0));
    EXPECT_EQ(IntAt(e, 5280 + 4 * 199), e.vars.S(199));
    EXPECT_EQ(IntAt(e, 17570), 3);             // CallDepth
    EXPECT_EQ(IntAt(e, 17570 + 4 * 9), 801);   // CallReturn of the ninth level
    EXPECT_EQ(IntAt(e, 17570 + 4 * 13), 4);    // WaitKind
    EXPECT_EQ(IntAt(e, 17570 + 4 * 14), 0) << "the map is saved as the game";
    EXPECT_EQ(IntAt(e, 17570 + 4 * 26), 1234); // the resume position
    EXPECT_EQ(IntAt(e, 17570 + 4 * 29), 1);    // S160
    EXPECT_EQ(TextAt(e, 31826), "the line being typed");
    EXPECT_EQ(TextAt(e, 33874 + 240), "CALLER8");
    EXPECT_EQ(TextAt(e, 33874 + 300), "SCENE01");
    EXPECT_EQ(TextAt(e, 33874 + 360), "B001,B002,B003");
    EXPECT_EQ(TextAt(e, 33874 + 450), "RECORDED");
    EXPECT_EQ(TextAt(e, 33874 + 510), "V0001");
    EXPECT_EQ(TextAt(e, 33874 + 540), "SPEAKER");
    EXPECT_EQ(TextAt(e, 34898 + 64 * 3), "string 3");
    EXPECT_EQ(e.saves.Image.Bytes()[35538 + 100], static_cast<uint8_t>(e.text.PageText[1][0]));
    EXPECT_EQ(IntAt(e, 17570 + 4 * 21), 151);           // BacklogCount
    EXPECT_EQ(IntAt(e, 17570 + 4 * 22), 151 * 70 + 7);  // BacklogWritePos
    EXPECT_EQ(TextAt(e, 17826 + 70 * 3), "log line 3");
    EXPECT_EQ(TextAt(e, 17826 + 70 * 150), "@V0009");
    EXPECT_EQ(IntAt(e, 17570 + 4 * 30), 77); // SnapshotCounter
    const RewindRing& ring = e.backlog.Rewind;
    EXPECT_EQ(e.saves.Image.Bytes()[39538 + 2000 * 4 + 100], static_cast<uint8_t>(ring.Pages[4].PageText[1][0]));
    EXPECT_EQ(IntAt(e, 139538 + 4 * 6), ring.Pages[6].OverlayWeight);
    EXPECT_EQ(IntAt(e, 139738 + 40 * 2 + 4 * 3), ring.Pages[2].PositionsX[3]);
    EXPECT_EQ(IntAt(e, 141738 + 40 * 8 + 4 * 9), ring.Pages[8].PositionsY[9]);
    EXPECT_EQ(TextAt(e, 143738 + 128 * 5), "A005,B001,B002");
    EXPECT_EQ(TextAt(e, 150138 + 256 * 9), "V9 W9 ");
    EXPECT_EQ(IntAt(e, 162938 + 4 * 7), 1); // S160 of the eighth page
}

TEST_F(SaveExchangeTest, ADamagedImageReadsIntoBoundedFields) {
    auto engine = Start(m_first);
    std::span<uint8_t> image = engine->saves.Image.Bytes();
    std::fill(image.begin(), image.end(), uint8_t{'x'});
    StoreU32(image.data() + 17570 + 4 * 27, 0x7FFFFFFF); // ScriptSize
    StoreU32(image.data() + 17570 + 4 * 28, 0xFFFFFFF0); // LinePos
    Read(*engine);
    EXPECT_EQ(engine->script.ScriptSize, TextBuffer::Capacity);
    EXPECT_EQ(engine->script.LinePos, 0);
    EXPECT_EQ(engine->script.LineBuffer.back(), '\0');
    EXPECT_EQ(FieldText(engine->dispatcher.ReturnScriptName).size(), 29u);
    EXPECT_EQ(FieldText(engine->gfx.Scene.CharacterDescription).size(), 59u);
    EXPECT_EQ(engine->vars.String(0).size(), 63u);
    EXPECT_EQ(FieldText(engine->text.SpeakerName).size(), 19u);
}

} // namespace
} // namespace orv::test
