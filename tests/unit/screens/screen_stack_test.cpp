#include "screens/screen_stack.h"

#include "engine/engine.h"
#include "engine/keys.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/fake_platform.h"
#include "test_support.h"

namespace orv::test {
namespace {

// A screen that notes every event it gets.
class RecordingScreen final : public Screen {
public:
    RecordingScreen(int32_t mode, ScreenLayer layer, std::vector<std::string>& log,
                    std::string name)
        : m_mode(mode), m_layer(layer), m_log(log), m_name(std::move(name)) {}

    int32_t Mode() const override { return m_mode; }
    ScreenLayer Layer() const override { return m_layer; }
    void Press(MouseButton, int, int) override { Note("press"); }
    void Move(int, int) override { Note("move"); }
    void Release(MouseButton, int, int) override { Note("release"); }
    void Wheel(int) override { Note("wheel"); }
    void KeyDown(int) override { Note("keydown"); }
    bool KeyPress(char) override {
        Note("keypress");
        return false;
    }
    AfterPass Pass() override {
        Note("pass");
        return AfterPass::Pace;
    }
    void Tick() override { Note("tick"); }
    void Close() override { Note("close"); }

private:
    void Note(const char* event) { m_log.push_back(m_name + " " + event); }

    int32_t m_mode;
    ScreenLayer m_layer;
    std::vector<std::string>& m_log;
    std::string m_name;
};

TEST(ScreenStackTest, TheTopOwnsInputAndTheModeComesFromTheTopmostScreenWithOne) {
    std::vector<std::string> log;
    RecordingScreen game(0, ScreenLayer::Game, log, "game");
    RecordingScreen gallery(6, ScreenLayer::Game, log, "gallery");
    RecordingScreen backlog(-1, ScreenLayer::Modal, log, "backlog");
    ScreenStack stack(game);
    EXPECT_EQ(&stack.Top(), &game);
    EXPECT_TRUE(stack.Push(gallery));
    EXPECT_TRUE(stack.Push(backlog));
    EXPECT_FALSE(stack.Push(gallery)) << "a screen is on the stack once";
    EXPECT_EQ(&stack.Top(), &backlog);
    EXPECT_EQ(stack.Mode(), 6);
    EXPECT_TRUE(stack.Remove(gallery));
    EXPECT_EQ(&stack.Top(), &backlog);
    EXPECT_EQ(stack.Mode(), 0);
    EXPECT_FALSE(stack.Remove(game)) << "the bottom stays";
    stack.Push(gallery);
    stack.CloseAllAboveBottom();
    EXPECT_EQ(&stack.Top(), &game);
    EXPECT_EQ(log, (std::vector<std::string>{"gallery close", "backlog close"}));
}

class ScreenRoutingTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_dir / "ov_data.orv",
                  MakeTextArchive({{"main", Bytes{'t', 'e', 'x', 't', 0, '\\', 0}}}));
        WriteFile(m_dir / "ov_gra.orv", MakeArchive({}));
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        // A page wait that a press reaching the game would continue.
        for (int i = 0; i < 20 && m_engine->wait.WaitKind == 0; ++i) {
            m_platform.Pass();
        }
        ASSERT_EQ(m_engine->wait.WaitKind, wait_kind::Page);
    }

    std::vector<std::string> m_log;
    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(ScreenRoutingTest, APressGoesToTheTopScreenOnly) {
    Engine& e = *m_engine;
    RecordingScreen lower(6, ScreenLayer::Game, m_log, "lower");
    RecordingScreen upper(8, ScreenLayer::Game, m_log, "upper");
    e.screens.Open(lower);
    e.screens.Open(upper);
    e.PBMouseDown(MouseButton::Left, 10, 10);
    e.PBMouseUp(MouseButton::Left, 10, 10);
    e.FormMouseWheel(-120);
    e.FormKeyDown(keys::Left);
    EXPECT_EQ(m_log, (std::vector<std::string>{"upper press", "upper release", "upper wheel",
                                               "upper keydown"}));
    EXPECT_EQ(e.wait.WaitKind, wait_kind::Page) << "the game got nothing";
    EXPECT_EQ(e.screens.Mode(), 8);
    e.screens.Close(upper);
    e.screens.Close(lower);
    e.PBMouseDown(MouseButton::Left, 10, 10);
    EXPECT_EQ(e.wait.WaitKind, wait_kind::None) << "the game has input back";
}

TEST_F(ScreenRoutingTest, TheLayersDecideWhatComesBeforeTheScreen) {
    Engine& e = *m_engine;
    RecordingScreen modal(-1, ScreenLayer::Modal, m_log, "modal");
    RecordingScreen exclusive(-1, ScreenLayer::Exclusive, m_log, "exclusive");
    RecordingScreen replacing(4, ScreenLayer::Game, m_log, "replacing");
    e.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
    ASSERT_TRUE(e.prompts.IsOpen());
    constexpr int kOverYesX = 320, kOverYesY = 200;

    // A screen in the game's place gets nothing the prompt holds: the move hovers the
    // prompt's answer, the keys and the pass stand still.
    e.screens.Open(replacing);
    e.PBMouseMove(kOverYesX, kOverYesY);
    e.FormKeyPress(' ');
    e.AppIdle();
    EXPECT_TRUE(m_log.empty());
    EXPECT_EQ(e.prompts.PromptAnswer, 1);
    e.screens.Close(replacing);

    // The modal screen takes the wheel and the pass even under the prompt; typed keys wait
    // for the prompt to close, then go to it and not to the game.
    e.screens.Open(modal);
    int32_t autoLevel = e.vars.S(cell::AutoLevel);
    e.FormKeyPress(' ');
    e.FormMouseWheel(120);
    e.AppIdle();
    e.prompts.ClosePrompt(MouseButton::Right, false);
    e.FormKeyPress(' ');
    EXPECT_EQ(m_log, (std::vector<std::string>{"modal wheel", "modal pass", "modal keypress"}));
    EXPECT_EQ(e.vars.S(cell::AutoLevel), autoLevel) << "the space bar did not reach the game";
    e.screens.Close(modal);
    m_log.clear();
    e.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);

    // The exclusive screen takes the move before the prompt, and the timer stops at it.
    e.prompts.PromptAnswer = 0;
    e.screens.Open(exclusive);
    e.PBMouseMove(kOverYesX, kOverYesY);
    e.Timer1Timer();
    EXPECT_EQ(m_log, (std::vector<std::string>{"exclusive move"}));
    EXPECT_EQ(e.prompts.PromptAnswer, 0);
}

} // namespace
} // namespace orv::test
