// The text flow inside the engine: script lines typed through the step, with the layout of
// a small configuration.
#include "base/cp932.h"
#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "test_support.h"

#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

std::string Sjis(std::string_view utf8) { return cp932::FromUtf8Lenient(utf8); }

Bytes Lines(const std::vector<std::string>& lines) {
    Bytes out;
    for (const std::string& line : lines) {
        std::string stored = Sjis(line);
        out.insert(out.end(), stored.begin(), stored.end());
        out.push_back(0);
    }
    return out;
}

const std::vector<std::string> kConfig = {
    "TXW_OFS_X:0", "TXW_OFS_Y:400", "TXW_OFS_Y2:0", "TXW_SIZE_X:800", "TXW_SIZE_Y:200",
    "TX_OFS_X:20", "TX_OFS_Y:10", "TX_PITCH_X:12", "TX_PITCH_Y:40", "MOJI_MAX_X:40",
    "MOJI_MAX_Y:4", "TX2_OFS_X:40", "TX2_OFS_Y:30", "TX2_PITCH_X:12", "TX2_PITCH_Y:40",
    "MOJI_MAX2_X:60", "MOJI_MAX2_Y:12", "NP_SZ_X:200", "NP_SZ_Y:40", "SPD_MAX:5", "FONT_SIZE:22",
    "DEFAULT_NAME:ゆう", "NAME:1,ゆう,G00"};

// Clicks once the engine's effect has pumped messages a few times, as a player does who
// clicks during a fade.
class ClickingPlatform : public FakePlatform {
public:
    void PumpMessages() override {
        FakePlatform::PumpMessages();
        if (ClickAtPump > 0 && Pumps == ClickAtPump && Engine && Engine->blocking.InterruptibleWait()) {
            Engine->blocking.InterruptRequest = 1;
        }
    }
    int ClickAtPump = 0;
};

class TextFlowTest : public ::testing::Test {
protected:
    // `main` is UTF-8, stored in code page 932; `raw` lines are stored as they are.
    Engine& Start(const std::vector<std::string>& main, bool raw = false) {
        Bytes config = Lines(kConfig);
        Bytes script;
        if (raw) {
            for (const std::string& line : main) {
                script.insert(script.end(), line.begin(), line.end());
                script.push_back(0);
            }
        } else {
            script = Lines(main);
        }
        WriteFile(m_dir / "game" / "ov_data.orv",
                  MakeTextArchive({{"main", script}, {"_config", config}}));
        WriteFile(m_dir / "game" / "ov_gra.orv", MakeArchive({{"DUMMY", ToBytes("x")}}));
        m_engine = StartEngine(m_platform, m_dir / "game", m_dir / "data");
        m_engine->text.SetTextHook([this](std::string_view line) { m_hooked.emplace_back(line); });
        m_platform.Pass(); // StartGame loads main
        return *m_engine;
    }

    void Step(int steps = 1) {
        for (int i = 0; i < steps; ++i) {
            m_engine->dispatcher.ScriptStep();
        }
    }
    std::string Row(int row) const {
        const auto& text = m_engine->text.PageText[static_cast<size_t>(row)];
        std::string bytes(text.begin(), text.end());
        bytes.erase(bytes.find_last_not_of('\0') + 1);
        std::replace(bytes.begin(), bytes.end(), '\0', ' ');
        return cp932::ToUtf8(bytes);
    }

    TempDir m_dir;
    ClickingPlatform m_platform;
    std::unique_ptr<Engine> m_engine;
    std::vector<std::string> m_hooked;
};

TEST_F(TextFlowTest, TheTypewriterEndsTheStepAfterEachCharacterAndPercentWaits) {
    Engine& engine = Start({"あ%30い", "\\"});
    Step();
    EXPECT_EQ(engine.text.PageChars, 1);
    EXPECT_EQ(engine.text.WindowShown, 1);
    Step();
    EXPECT_EQ(engine.wait.TickWait, 30);
    EXPECT_EQ(engine.text.PageChars, 1);
    engine.wait.TickWait = 0;
    Step();
    EXPECT_EQ(Row(1), "  あい");
    Step(2); // the end of the line, then the page wait
    EXPECT_EQ(engine.wait.WaitKind, 1);
    EXPECT_EQ(engine.script.NeedLine, 1);
    ASSERT_EQ(m_hooked.size(), 1u);
    EXPECT_EQ(m_hooked[0], "あい");
}

TEST_F(TextFlowTest, APercentSignWithoutDigitsWaitsTenTicksAndSkipModeNone) {
    Engine& engine = Start({"あ%い%0う", "\\"});
    engine.text.Delay = 1;
    Step();
    EXPECT_EQ(engine.wait.TickWait, 10);
    engine.wait.TickWait = 0;
    Step();
    EXPECT_EQ(engine.wait.TickWait, 10);
    engine.wait.TickWait = 0;
    engine.SkipActive = 1;
    Step();
    EXPECT_EQ(Row(1), "  あいう");
    EXPECT_EQ(engine.wait.TickWait, 0);
}

TEST_F(TextFlowTest, SkipModeTypesLinesAtOnceAndIgnoresLineWaits) {
    Engine& engine = Start({"あいう", "=", "えお[wait 9]か", "\\", "!V001=1"});
    engine.SkipActive = 1;
    Step();
    EXPECT_EQ(Row(1), "  あいう");
    EXPECT_EQ(Row(2), "  えおか");
    EXPECT_EQ(engine.wait.WaitKind, 1);
    EXPECT_EQ(engine.wait.TickWait, 0);
    EXPECT_EQ(engine.vars.V(1), 0);
}

TEST_F(TextFlowTest, AClickWhileTypingShowsTheRestUpToTheNextWait) {
    Engine& engine = Start({"あいうえお〓かき", "\\"});
    Step();
    EXPECT_EQ(engine.text.PageChars, 1);
    engine.text.ClickWhileTyping();
    Step();
    EXPECT_EQ(Row(1), "  あいうえお");
    EXPECT_EQ(engine.wait.WaitKind, 2);
    EXPECT_FALSE(engine.text.ShowAllNow);
    engine.text.ContinueWait();
    EXPECT_EQ(engine.wait.WaitKind, 0);
    Step();
    EXPECT_EQ(Row(1), "  あいうえおか"); // typing goes on after the mark, one at a time
}

TEST_F(TextFlowTest, PageMarksInTheLineWaitOrTurnThePageAndDropTheRest) {
    Engine& engine = Start({"あ▼い", "う▽え", "お"});
    engine.text.Delay = 1;
    Step();
    EXPECT_EQ(engine.wait.WaitKind, 1);
    EXPECT_EQ(Row(1), "  あ");
    engine.text.ContinueWait();
    Step();
    EXPECT_EQ(engine.wait.WaitKind, 0);
    EXPECT_TRUE(engine.text.PageEmpty); // ▽ started the next page at once
    Step();
    EXPECT_EQ(Row(1), "  お");
    std::vector<std::string> expected = {"あ", "う", "お"};
    EXPECT_EQ(m_hooked, expected);
}

TEST_F(TextFlowTest, TheLineStartRuleAndTheIndentAtTheLimit) {
    // 21 full-width characters: the 21st stands at the limit of 40 bytes.
    Engine& engine = Start({"「あいうえおかきくけこさしすせそたちつて。",
                            "「あいうえおかきくけこさしすせそたちつてな", "\\"});
    engine.text.Delay = 1;
    Step(3);
    EXPECT_EQ(Row(1), "「あいうえおかきくけこさしすせそたちつて。");
    EXPECT_EQ(Row(2), "「あいうえおかきくけこさしすせそたちつて");
    EXPECT_EQ(Row(3), "  な");
    EXPECT_EQ(engine.wait.WaitKind, 1);
    // The text hook keeps each script line whole across the automatic break.
    ASSERT_EQ(m_hooked.size(), 2u);
    EXPECT_EQ(m_hooked[1], "「あいうえおかきくけこさしすせそたちつてな");
}

TEST_F(TextFlowTest, AFullWidthSpaceAfterAnAutomaticBreakIsDropped) {
    Engine& engine = Start({"「あいうえおかきくけこさしすせそたちつて」　い", "\\"});
    engine.text.Delay = 1;
    Step();
    // 」 hangs at column 40; the space at 42 breaks and is dropped at the indent.
    EXPECT_EQ(Row(1), "「あいうえおかきくけこさしすせそたちつて」");
    EXPECT_EQ(Row(2), "  い");
}

TEST_F(TextFlowTest, InsertedValuesAndNames) {
    Engine& engine = Start({"!V001=41", "[?V001+1]＄O！[$0]", "＄Ｏう", "\\"});
    engine.text.Delay = 1;
    Step(3);
    EXPECT_EQ(Row(1), "  42ゆう！ゆう");
    // ＄Ｏ (full-width O) inserts nothing, yet its four bytes are passed over.
    EXPECT_EQ(Row(2), "  う");
}

TEST_F(TextFlowTest, InlineTagsSetColourDelayAndSpacing) {
    // The window is opened first: a new page sets colour 0.
    Engine& engine = Start({"*win_open", "[col 10]あ[COL 0][delay 3]い[2]うえ[1]お[unknown]か[wait",
                            "\\"});
    Step();
    EXPECT_EQ(engine.text.glyphs.TextColour(), 0x0000FFu);
    Step();
    EXPECT_EQ(engine.text.CharDelay, 3);
    EXPECT_EQ(engine.wait.TickWait, 2);
    EXPECT_EQ(engine.text.glyphs.TextColour(), 0xFFFFFFu);
    engine.wait.TickWait = 0;
    engine.text.ShowAllNow = true;
    Step();
    // Wide spacing from う at 6: え at 9, お at 12, then narrow again: か at 14.
    EXPECT_EQ(Row(1), "  あいう え おか");
    // The open [wait waits, then the line ends.
    EXPECT_EQ(engine.script.NeedLine, 0);
    Step();
    EXPECT_EQ(engine.script.NeedLine, 1);
}

TEST_F(TextFlowTest, SpeakerNamesGoToRowZeroWithTheirColour) {
    Engine& engine = Start({">＄O", "「あ」", "\\", ">だれか", "い", "\\"});
    engine.text.Delay = 1;
    Step(2);
    EXPECT_EQ(Row(0), "ゆう");
    EXPECT_EQ(engine.vars.S(37), 0x0000FF);
    EXPECT_EQ(Row(1), "「あ」");
    EXPECT_EQ(engine.text.glyphs.TextColour(), 0x0000FFu);
    engine.text.ContinueWait();
    EXPECT_EQ(engine.vars.S(37), 0xFFFFFF);
    Step(2);
    EXPECT_EQ(Row(0), "だれか");
    EXPECT_EQ(engine.vars.S(37), 0xFFFFFF);
    std::vector<std::string> expected = {"ゆう", "「あ」", "だれか", "い"};
    EXPECT_EQ(m_hooked, expected);
}

TEST_F(TextFlowTest, PageEndLinesSetTheirWaitsAndTheAutoWait) {
    Engine& engine = Start({"あいうえおかきくけこ", "~", "+", "=", "\\"});
    engine.text.Delay = 1;
    engine.vars.S(26) = 1;
    engine.text.ShowAllNow = true; // auto mode paces the typing; this test is about the waits
    Step(2);
    EXPECT_EQ(engine.wait.WaitKind, 4);
    EXPECT_EQ(engine.wait.AutoWaitTicks, 10 / (5 - 1 + 12) + 2 * 1 + 2);
    engine.wait.WaitKind = 0;
    Step();
    EXPECT_EQ(engine.wait.WaitKind, 5);
    engine.wait.WaitKind = 0;
    Step();
    EXPECT_EQ(engine.wait.WaitKind, 2);
    EXPECT_EQ(engine.vars.S(39), 1);
}

TEST_F(TextFlowTest, ClosingTheWindowResetsThePage) {
    Engine& engine = Start({"あ", "*win_close", "+", "*win_open"});
    engine.text.Delay = 1;
    Step(2);
    EXPECT_EQ(engine.text.WindowShown, 0);
    EXPECT_TRUE(engine.text.PageEmpty);
    EXPECT_EQ(Row(1), "");
    EXPECT_EQ(m_platform.Engine->gfx.PaintBoxCopy().Pixel(400, 500), 0u);
    engine.wait.WaitKind = 0;
    Step();
    EXPECT_EQ(engine.text.WindowShown, 1);
}

TEST_F(TextFlowTest, AVoiceTagTakesTheRestOfItsLine) {
    Engine& engine = Start({"「あ」[cv v0001", "\\"});
    engine.text.Delay = 1;
    Step();
    EXPECT_STREQ(engine.sound.LastVoice, "v0001");
    EXPECT_EQ(Row(1), "「あ」");
}

TEST_F(TextFlowTest, AClickDuringTheWindowFadeShowsTheFinalPictureAtOnce) {
    Engine& engine = Start({"*win_open", "+", "*win_close"});
    int before = m_platform.Pumps;
    m_platform.ClickAtPump = before + 3;
    Step();
    EXPECT_EQ(engine.text.WindowShown, 1);
    EXPECT_LT(m_platform.Pumps - before, 8); // a whole fade takes 32 frames
    EXPECT_FALSE(engine.blocking.Busy());
    EXPECT_EQ(engine.blocking.InterruptRequest, 0);
    const Surface& shown = engine.gfx.PaintBoxCopy();
    EXPECT_EQ(shown.Pixel(400, 500), engine.gfx.BackBuffer.Pixel(400, 500));
    // Uninterrupted, the fade to the closed window runs its frames.
    before = m_platform.Pumps;
    m_platform.ClickAtPump = 0;
    engine.wait.WaitKind = 0;
    Step();
    EXPECT_EQ(engine.text.WindowShown, 0);
    EXPECT_GE(m_platform.Pumps - before, 32);
}

TEST_F(TextFlowTest, NovelModeTypesOverTheScreenWithoutIndentOrNameRow) {
    Engine& engine = Start({"*mode 1", ">なまえ", "あい", "\\"});
    engine.text.Delay = 1;
    Step(); // mode ends its step
    EXPECT_EQ(engine.vars.S(160), 1);
    EXPECT_EQ(engine.text.WindowShown, 1);
    Step(2);
    // The name is typed as text on row 0, the dialogue on the next row, both at column 0.
    EXPECT_EQ(Row(0), "なまえ");
    EXPECT_EQ(Row(1), "あい");
    TextPosition at = engine.text.CellPosition(2, 1);
    EXPECT_EQ(at.X, 2 * 12 + 40);
    EXPECT_EQ(at.Y, 1 * 40 + 30);
}

TEST_F(TextFlowTest, RubyStandsAboveTheCharacterThatFollowsIt) {
    Engine& engine = Start({"*win_open", "<かんじ>漢字", "\\"});
    engine.text.Delay = 1;
    Step(2);
    EXPECT_EQ(Row(1), "  漢字");
    // Column 2 of row 1 is at (44, 450); the ruby's 9 rows start 7 above it, 3 further right.
    const Surface& back = engine.gfx.BackBuffer;
    int bright = 0;
    for (int y = 443; y < 452; ++y) {
        for (int x = 47; x < 90; ++x) {
            bright += (back.Pixel(x, y) & 0xFF) > 0xC0 ? 1 : 0;
        }
    }
    EXPECT_GT(bright, 5);
    EXPECT_EQ(back.Pixel(47, 441), 0u);
}

TEST_F(TextFlowTest, TheWindowMovesBetweenItsTwoTopsAndTakesItsTextAlong) {
    Engine& engine = Start({"■", "+"});
    engine.text.Delay = 1;
    Step(2);
    EXPECT_EQ(engine.text.WindowOrigin().Y, 400);
    EXPECT_EQ(engine.text.CellPosition(2, 1).Y, 450);
    engine.text.SetWindowPosition(true);
    EXPECT_EQ(engine.vars.S(79), 1);
    EXPECT_EQ(engine.text.WindowOrigin().Y, 0);
    EXPECT_EQ(engine.text.CellPosition(2, 1).Y, 50);
    EXPECT_EQ(Row(1), "  ■");
    // The character is drawn again at its new place.
    EXPECT_NE(engine.gfx.BackBuffer.Pixel(44 + 11, 50 + 18), 0u);
    engine.text.SetWindowPosition(true);
    EXPECT_EQ(engine.vars.S(79), 0);
}

TEST_F(TextFlowTest, BrokenLinesEndCleanly) {
    std::vector<std::string> lines = {"[", "<", "[?", "[$", "[$9", "[col -5]あ", "[delay -3]い",
                                      "%99999999999999", "[wait -4]", "[cv ", "＄"};
    lines.push_back(std::string("\x81"));   // a lead byte without its trail
    lines.push_back(std::string("a\x81")); // the same at the end of a line
    lines.push_back(std::string("\x81\x90O")); // ＄O at the very end
    std::mt19937 random(7);
    for (int n = 0; n < 20; ++n) {
        std::string noise;
        for (int i = 0; i < 300; ++i) {
            noise.push_back(static_cast<char>(random() % 255 + 1));
        }
        lines.push_back(noise);
    }
    lines.push_back("!V001=1");
    Engine& again = Start(lines, true);
    again.SkipActive = 1;
    for (int i = 0; i < 200 && again.vars.V(1) == 0; ++i) {
        again.wait.WaitKind = 0;
        again.wait.TickWait = 0;
        Step();
    }
    EXPECT_EQ(again.vars.V(1), 1);
    EXPECT_EQ(again.text.CharDelay, 0);
}

} // namespace
} // namespace orv::test
