#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "gfx/gra_encoder.h"
#include "prompts/prompts.h"
#include "test_support.h"

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

using std::string_view_literals::operator""sv;

class PromptsTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto main = "*sleep 10\0"sv;
        auto title = "!V002=7\0*sleep 10\0"sv;
        std::vector<ArchiveEntryInput> texts{{"main", Bytes(main.begin(), main.end())},
                                             {"STITLE", Bytes(title.begin(), title.end())}};
        std::string config;
        for (const std::string& line : ConfigLines()) {
            config += line;
            config += '\0';
        }
        if (!config.empty()) {
            texts.push_back({"_config", Bytes(config.begin(), config.end())});
        }
        WriteFile(m_dir / "ov_data.orv", MakeTextArchive(texts));
        WriteFile(m_dir / "ov_gra.orv", MakeArchive(PictureEntries()));
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        for (int i = 0; i < 5 && e().wait.PassWait != -1; ++i) {
            m_platform.Pass();
        }
        // A picture whose every pixel differs, so that a misplaced copy shows.
        Surface& back = e().gfx.BackBuffer;
        for (int y = 0; y < back.Height(); ++y) {
            for (int x = 0; x < back.Width(); ++x) {
                back.SetPixel(x, y, static_cast<uint32_t>((x * 7 + y * 13) & 0xFF) * 0x010101);
            }
        }
        m_original.Allocate(kScreenWidth, kScreenHeight);
        m_original.CopyFrom(back, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        e().ShowBackBuffer();
    }

    virtual std::vector<std::string> ConfigLines() const { return {}; }
    virtual std::vector<ArchiveEntryInput> PictureEntries() const { return {}; }

    Engine& e() { return *m_engine; }
    void Click(MouseButton button, int x, int y) {
        e().PBMouseMove(x, y);
        e().PBMouseDown(button, x, y);
        e().PBMouseUp(button, x, y);
    }
    bool ScreenAsBefore(const Surface& surface) const {
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                if (surface.Pixel(x, y) != m_original.Pixel(x, y)) {
                    return false;
                }
            }
        }
        return true;
    }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
    Surface m_original;
};

TEST_F(PromptsTest, TheDefaultPromptDarkensItsBandTowardsTheMiddle) {
    Engine& engine = e();
    engine.prompts.AskYesNo(kQuickLoadQuestion, prompt_action::QuickLoad);
    EXPECT_EQ(engine.prompts.SystemMenuState, 1);
    EXPECT_EQ(engine.MenusLocked, 1);
    EXPECT_FALSE(engine.MenuItemEnabled("N20"));
    const Surface& back = engine.gfx.BackBuffer;
    auto darkened = [&](int x, int y, int factor) {
        return (m_original.Pixel(x, y) & 0xFF) * factor >> 8;
    };
    EXPECT_EQ(back.Pixel(10, 150) & 0xFF, darkened(10, 150, 255));
    EXPECT_EQ(back.Pixel(10, 155) & 0xFF, darkened(10, 155, 255 - 60));
    EXPECT_EQ(back.Pixel(10, 190) & 0xFF, darkened(10, 190, 63));
    EXPECT_EQ(back.Pixel(10, 237) & 0xFF, darkened(10, 237, 255));
    EXPECT_EQ(back.Pixel(10, 149), m_original.Pixel(10, 149));
    EXPECT_EQ(back.Pixel(10, 238), m_original.Pixel(10, 238));
    EXPECT_EQ(m_platform.PB.Pixel(10, 190), back.Pixel(10, 190));
}

TEST_F(PromptsTest, ARightClickOnYesClosesWithoutActingAndRestoresTheScreen) {
    Engine& engine = e();
    engine.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
    engine.PBMouseMove(320, 200);
    EXPECT_EQ(engine.prompts.PromptAnswer, 1);
    Click(MouseButton::Right, 320, 200);
    EXPECT_EQ(engine.prompts.SystemMenuState, 0);
    EXPECT_EQ(engine.MenusLocked, 0);
    EXPECT_EQ(engine.script.CurrentScriptNameText(), "main");
    EXPECT_TRUE(ScreenAsBefore(engine.gfx.BackBuffer));
    EXPECT_TRUE(ScreenAsBefore(m_platform.PB));
}

TEST_F(PromptsTest, TheYesAreaHasExclusiveBounds) {
    Engine& engine = e();
    engine.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
    for (auto [x, y, answer] : {std::tuple{300, 194, 1},
                                {369, 223, 1},
                                {299, 200, 0},
                                {370, 200, 0},
                                {320, 193, 0},
                                {320, 224, 0}}) {
        engine.prompts.PromptHover(x, y);
        EXPECT_EQ(engine.prompts.PromptAnswer, answer) << x << "," << y;
    }
}

TEST_F(PromptsTest, ALeftClickElsewhereClosesWithoutAction) {
    Engine& engine = e();
    engine.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
    Click(MouseButton::Left, 420, 200);
    EXPECT_EQ(engine.prompts.SystemMenuState, 0);
    EXPECT_EQ(engine.script.CurrentScriptNameText(), "main");
    EXPECT_TRUE(ScreenAsBefore(m_platform.PB));
}

TEST_F(PromptsTest, YesToTheTitleQuestionLeavesAChoiceForTheTitleScript) {
    Engine& engine = e();
    engine.choices.SelectionKind = 1;
    engine.wait.WaitKind = 1;
    engine.screens.ReplayMode = 2;
    engine.dispatcher.CallDepth = 2;
    engine.vars.S(161) = 0;
    engine.vars.S(163) = 9;
    engine.vars.S(79) = 1;
    engine.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
    Click(MouseButton::Left, 320, 200);
    EXPECT_EQ(engine.script.CurrentScriptNameText(), "STITLE");
    EXPECT_EQ(engine.choices.SelectionKind, 0);
    EXPECT_EQ(engine.wait.WaitKind, 0);
    EXPECT_EQ(engine.screens.Mode(), 0);
    EXPECT_EQ(engine.prompts.SystemMenuState, 0);
    EXPECT_EQ(engine.screens.ReplayMode, 0);
    EXPECT_EQ(engine.dispatcher.CallDepth, 0);
    EXPECT_EQ(engine.vars.S(161), 1);
    EXPECT_EQ(engine.vars.S(162), 9);
    EXPECT_EQ(engine.vars.S(79), 0);
    EXPECT_FALSE(m_platform.Visible["N19"]);
    EXPECT_TRUE(m_platform.Enabled["N5"]);
    // The title script runs on the next pass: the sleep of the scene left no wait behind.
    m_platform.Pass();
    EXPECT_EQ(engine.vars.V(2), 7);
}

TEST_F(PromptsTest, ASecondQuestionWhileOneIsOpenIsRefused) {
    Engine& engine = e();
    engine.prompts.AskYesNo(kQuickLoadQuestion, prompt_action::QuickLoad);
    engine.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
    EXPECT_EQ(engine.prompts.SystemMenuState, 1);
    Click(MouseButton::Right, 0, 0);
    EXPECT_TRUE(ScreenAsBefore(engine.gfx.BackBuffer)) << "the band under the first is back";
}

TEST_F(PromptsTest, AScriptClickOverrideDropsThePromptWithoutItsAnswer) {
    Engine& engine = e();
    engine.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
    engine.prompts.PromptHover(320, 200);
    engine.vars.S(56) = 56;
    Click(MouseButton::Left, 320, 200);
    EXPECT_EQ(engine.prompts.SystemMenuState, 0);
    EXPECT_EQ(engine.MenusLocked, 0);
    EXPECT_EQ(engine.script.CurrentScriptNameText(), "main");
    EXPECT_TRUE(ScreenAsBefore(engine.gfx.BackBuffer));
}

TEST_F(PromptsTest, TheBannerFadesInHoldsAndFadesOutThenGivesTheScreenBack) {
    Engine& engine = e();
    uint64_t before = m_platform.Now;
    int presents = m_platform.Presents;
    engine.prompts.ShowBanner("save", 500);
    uint64_t took = m_platform.Now - before;
    // Sixteen 20 ms frames each way around the hold.
    EXPECT_GE(took, 500u + 2 * 16 * 20);
    EXPECT_LE(took, 500u + 2 * 16 * 20 + 60);
    EXPECT_GT(m_platform.Presents - presents, 30);
    EXPECT_FALSE(engine.blocking.Busy());
    EXPECT_EQ(engine.MenusLocked, 0);
    EXPECT_TRUE(ScreenAsBefore(m_platform.PB));
    EXPECT_TRUE(ScreenAsBefore(engine.gfx.BackBuffer));
}

TEST_F(PromptsTest, ApplyingSettingsSwitchesTheScreenModeAndRereadsTheTyping) {
    Engine& engine = e();
    engine.FullScreenMode = 1;
    engine.settings.Typewriter = false;
    engine.prompts.ApplySettings();
    EXPECT_EQ(engine.FullScreenActive, 1);
    EXPECT_EQ(engine.text.Delay, 1);
    EXPECT_FALSE(engine.blocking.Busy());
    engine.FullScreenMode = 0;
    engine.prompts.ApplySettings();
    EXPECT_EQ(engine.FullScreenActive, 0);
    EXPECT_FALSE(m_platform.FullScreen);
}

TEST_F(PromptsTest, RestartingTheMusicKeepsTheRequestedTrack) {
    Engine& engine = e();
    engine.vars.S(3) = 12;
    engine.vars.S(5) = 4;
    engine.prompts.RestartMusic();
    EXPECT_EQ(engine.vars.S(3), 12);
}


// The game's own panel: a 200 x 100 picture at (100, 200) with its two buttons.
class PanelPromptTest : public PromptsTest {
protected:
    std::vector<std::string> ConfigLines() const override {
        return {"PANEL_USE:1", "PANEL_BASE:100,200", "PANEL_YES:20,60", "PANEL_NO:120,60"};
    }
    std::vector<ArchiveEntryInput> PictureEntries() const override {
        auto picture = [](const char* name, int width, int height, uint32_t bgr) {
            Surface surface(width, height);
            surface.Fill(bgr);
            return ArchiveEntryInput{name, *EncodeGraPicture(surface, {})};
        };
        return {picture("SYS_PANEL", 200, 100, 0x111111),
                picture("SYS_PANEL_Y1", 40, 20, 0x222222),
                picture("SYS_PANEL_Y2", 40, 20, 0x333333),
                picture("SYS_PANEL_N1", 40, 20, 0x444444),
                picture("SYS_PANEL_N2", 40, 20, 0x555555)};
    }
};

TEST_F(PanelPromptTest, ThePanelShowsItsButtonsAndLightsTheOneUnderThePointer) {
    Engine& engine = e();
    engine.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
    const Surface& back = engine.gfx.BackBuffer;
    EXPECT_EQ(back.Pixel(150, 210), 0x111111u);
    EXPECT_EQ(back.Pixel(125, 265), 0x222222u);
    EXPECT_EQ(back.Pixel(225, 265), 0x444444u);
    EXPECT_EQ(back.Pixel(99, 210), m_original.Pixel(99, 210));
    EXPECT_EQ(back.Pixel(300, 210), m_original.Pixel(300, 210));
    engine.PBMouseMove(130, 265);
    EXPECT_EQ(engine.prompts.PromptAnswer, 1);
    EXPECT_EQ(m_platform.PB.Pixel(130, 265), 0x333333u);
    EXPECT_EQ(back.Pixel(130, 265), 0x222222u) << "the light is shown, not kept";
    engine.PBMouseMove(230, 265);
    EXPECT_EQ(engine.prompts.PromptAnswer, 2);
    EXPECT_EQ(m_platform.PB.Pixel(130, 265), 0x222222u);
    EXPECT_EQ(m_platform.PB.Pixel(230, 265), 0x555555u);
    engine.PBMouseMove(150, 210);
    EXPECT_EQ(engine.prompts.PromptAnswer, 0);
    EXPECT_EQ(m_platform.PB.Pixel(230, 265), 0x444444u);
}

TEST_F(PanelPromptTest, NoClosesThePanelAndYesRunsTheAction) {
    Engine& engine = e();
    engine.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
    Click(MouseButton::Left, 230, 265);
    EXPECT_EQ(engine.prompts.SystemMenuState, 0);
    EXPECT_EQ(engine.script.CurrentScriptNameText(), "main");
    EXPECT_TRUE(ScreenAsBefore(engine.gfx.BackBuffer));
    engine.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
    Click(MouseButton::Left, 130, 265);
    EXPECT_EQ(engine.script.CurrentScriptNameText(), "STITLE");
}

} // namespace
} // namespace orv::test
