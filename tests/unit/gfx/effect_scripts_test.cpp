// The effects described by data: the step lists of the "effect" resource, the numbered
// pictures of efxanim and the background loop of bg_anim, on the virtual clock.
#include "gfx/background_loop.h"
#include "gfx/effect_script.h"
#include "gfx/effects_fixture.h"
#include "script/commands.h"

#include <string>
#include <utility>
#include <vector>

namespace orv {
namespace {

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kBack = 0x604020; // BackBuffer in the effect tests
constexpr EffectKind kMove = EffectKind::MoveWindow;
constexpr EffectKind kNormal = EffectKind::Normal;
constexpr EffectKind kFill = EffectKind::Fill;
constexpr EffectKind kTint = EffectKind::Tint;
constexpr EffectKind kNegative = EffectKind::Negative;

std::string Resource(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text.push_back('\0');
    }
    return text;
}

std::vector<EffectStep> Steps(const EffectSteps& steps) {
    return {steps.Steps.begin(), steps.Steps.begin() + steps.Count};
}

TEST(EffectDefinitionTest, LinesBecomeStepsOfTheirKinds) {
    struct Case {
        std::string Line;
        std::vector<EffectStep> Steps;
    };
    const Case cases[] = {
        {"F,50,FG00,30,F,50", {{kNormal, 0, 0, 50}, {kFill, 0x0000FF, 0, 30}, {kNormal, 0, 0, 50}}},
        // A fifth digit is the weight of the tint; ':' separates as ',' does.
        {"F:20,F0G0C,40", {{kNormal, 0, 0, 20}, {kTint, 0x00FF00, 192, 40}}},
        // An item of another length only waits; an item that is no F ends the pairs.
        {"FG0,10,X,20,F,30", {{EffectKind::None, 0, 0, 10}}},
        {"N,40,40,40", {{kNegative, 0, 0, 40}, {kNormal, 0, 0, 40}, {kNegative, 0, 0, 40}}},
        {"N,40,,40", {{kNegative, 0, 0, 40}}},
        {"S,30,5,0,-5,0,0,0", {{kMove, 5, 0, 30}, {kMove, -5, 0, 30}, {kMove, 0, 0, 30}}},
        // A pair without its y is no step.
        {"S,30,5,1,7", {{kMove, 5, 1, 30}}},
        {"; a remark", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EffectSteps steps;
        ReadEffectLine(c.Line, steps);
        EXPECT_EQ(Steps(steps), c.Steps) << c.Line;
    }
}

TEST(EffectDefinitionTest, OnlyTheNamedDefinitionIsReadUpToTheNextLabel) {
    std::string resource = Resource({":FLASH", "F,10", ":Quake", "s,20,3,0", "n,5", ":OTHER", "F,99"});
    EffectSteps steps;
    ASSERT_TRUE(ReadEffectDefinition(resource, "quake", steps));
    EXPECT_EQ(Steps(steps), (std::vector<EffectStep>{{kMove, 3, 0, 20}, {kNegative, 0, 0, 5}}));
    EffectSteps none;
    EXPECT_FALSE(ReadEffectDefinition(resource, "QUAK", none));
    EXPECT_EQ(none.Count, 0);
}

TEST(EffectDefinitionTest, TheStepListStopsAtTwoHundredSteps) {
    std::string many = "N";
    for (int i = 0; i < 99; ++i) {
        many += ",1";
    }
    std::string resource = Resource({":MANY", many, many, many, "F,1"});
    EffectSteps steps;
    ASSERT_TRUE(ReadEffectDefinition(resource, "MANY", steps));
    EXPECT_EQ(steps.Count, EffectSteps::kMaxSteps);
}

class EffectScriptTest : public test::EffectsTest {
protected:
    Engine& StartWith(const std::vector<std::string>& effect) {
        AddText("effect", effect);
        Engine& engine = Start();
        engine.gfx.BackBuffer.Fill(kBack);
        // What PB shows at each message pump: the moment each step begins.
        m_platform.OnPump = [this] {
            Seen.push_back({m_platform.Now, Shown(10, 10)});
            Windows.push_back(m_platform.Window);
        };
        return engine;
    }

    StepResult Run(std::string_view line) {
        int index = FindCommand(line.substr(1));
        const Command& command = CommandTable()[static_cast<size_t>(index)];
        CommandArgs args{line, line.size() > static_cast<size_t>(command.ArgumentOffset)
                                   ? line.substr(static_cast<size_t>(command.ArgumentOffset))
                                   : std::string_view{}};
        return command.Handler(*m_engine, args);
    }

    std::vector<std::pair<uint64_t, uint32_t>> Seen;
    std::vector<Rect> Windows;
};

TEST_F(EffectScriptTest, FlashesTintsAndNegativesShowForTheirDurations) {
    Engine& engine = StartWith({":FLASH", "F,50,FG00,30,F,50", ":TINTED", "FG00C,40", "N,40,40,40"});
    uint64_t start = m_platform.Now;
    Run("*effect flash");
    using Shot = std::pair<uint64_t, uint32_t>;
    EXPECT_EQ(Seen, (std::vector<Shot>{{start, kBack}, {start + 50, kRed}, {start + 80, kBack}}));
    EXPECT_EQ(m_platform.Now, start + 130);
    EXPECT_EQ(Shown(10, 10), kBack);
    EXPECT_EQ(engine.blocking.Busy(), false);

    // The negative after a tint is that of BackBuffer, not of the tint.
    Seen.clear();
    start = m_platform.Now;
    Run("*effect TINTED");
    // 192 of 256 the colour: blue 0x60 and green 0x40 of BackBuffer fall to a quarter.
    uint32_t tint = (0x60 * 64) >> 8 << 16 | (0x40 * 64) >> 8 << 8 | (0x20 * 64 + 255 * 192) >> 8;
    uint32_t negative = kBack ^ 0xFFFFFF;
    EXPECT_EQ(Seen, (std::vector<Shot>{{start, tint},
                                       {start + 40, negative},
                                       {start + 80, kBack},
                                       {start + 120, negative}}));
}

TEST_F(EffectScriptTest, ShakeStepsMoveTheWindowOrThePictureAndEndWhereTheyStarted) {
    Engine& engine = StartWith({":QUAKE", "S,30,5,0,-5,0,0,0"});
    Rect home = m_platform.Window;
    Run("*effect QUAKE");
    ASSERT_EQ(Windows.size(), 3u);
    EXPECT_EQ(Windows[0].X, home.X + 5);
    EXPECT_EQ(Windows[1].X, home.X - 5);
    EXPECT_EQ(Windows[2].X, home.X);
    EXPECT_EQ(m_platform.Window.X, home.X);
    EXPECT_EQ(m_platform.Window.Y, home.Y);

    // Where the window stays put, the picture moves inside PB: black enters from the left.
    m_platform.WindowMovable = false;
    int moves = m_platform.WindowMoves;
    Seen.clear();
    m_platform.OnPump = [this] { Seen.push_back({m_platform.Now, Shown(2, 10)}); };
    Run("*effect QUAKE");
    EXPECT_EQ(m_platform.WindowMoves, moves);
    ASSERT_EQ(Seen.size(), 3u);
    EXPECT_EQ(Seen[0].second, 0u);
    EXPECT_EQ(Seen[1].second, kBack);
    EXPECT_EQ(Shown(2, 10), kBack);
    EXPECT_EQ(engine.gfx.PaintBoxCopy().Pixel(799, 10), kBack);
}

TEST_F(EffectScriptTest, CloseRequestEndsEvenALongEffectAndTheCommandAsks) {
    Engine& engine = StartWith({":LONG", "F,600000,FG00,600000"});
    m_platform.Answers.push_back(MessageBoxResult::Cancel);
    uint64_t start = m_platform.Now;
    m_platform.CloseAt = start + 500;
    Run("*effect LONG");
    EXPECT_LT(m_platform.Now, start + 600);
    EXPECT_EQ(m_platform.Boxes.size(), 1u);
    EXPECT_EQ(engine.blocking.InterruptRequest, 0);
    EXPECT_EQ(Shown(10, 10), kBack);

    // With skip mode and EFX_CUT the effect is not run at all.
    engine.SkipActive = 1;
    start = m_platform.Now;
    Run("*effect LONG");
    EXPECT_EQ(m_platform.Now, start);
}

// ---- efxanim.

Surface MaskedPicture(int width, int height, uint32_t colour) {
    Surface picture(width, height);
    picture.Fill(0xFFFFFF);
    Surface left(std::min(width, kScreenWidth), height);
    left.Fill(colour);
    picture.CopyFrom(left, Rect{0, 0, left.Width(), height}, 0, 0);
    return picture;
}

TEST_F(EffectScriptTest, EffectAnimationShowsTheNumberedPicturesUntilOneIsMissing) {
    AddPicture("STAR_003", MaskedPicture(1600, 600, kRed));
    AddPicture("STAR_004", MaskedPicture(1600, 600, kBlue));
    AddPicture("STAR_007", MaskedPicture(1600, 600, kGreen));
    Engine& engine = StartWith({});
    uint64_t start = m_platform.Now;
    Run("*efxanim STAR,40,3,7");
    using Shot = std::pair<uint64_t, uint32_t>;
    // Through an opaque mask a colour byte of 255 comes out 254.
    EXPECT_EQ(Seen, (std::vector<Shot>{{start, 0x0000FE}, {start + 40, 0x00FE00}}));
    EXPECT_EQ(Shown(10, 10), kBack);
    EXPECT_EQ(engine.gfx.PreviousSurface.Width(), kScreenWidth);

    // A missing number ends it: 7 after the missing 5 is never shown.
    Seen.clear();
    Run("*efxanim STAR,40,4,5,7");
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Seen[0].second, 0xFE0000u);
    EXPECT_EQ(Shown(10, 10), kBack);
}

TEST_F(EffectScriptTest, EffectAnimationBlendsOnlyWhereAPictureOfAnotherSizeHasItsMask) {
    // 900 wide: a mask for the first 100 columns only, and 300 rows.
    AddPicture("SMALL_000", MaskedPicture(900, 300, kRed));
    StartWith({});
    m_platform.OnPump = [this] {
        Seen.push_back({0, Shown(10, 10)});
        Seen.push_back({1, Shown(150, 10)});
        Seen.push_back({2, Shown(10, 400)});
    };
    Run("*efxanim SMALL");
    using Shot = std::pair<uint64_t, uint32_t>;
    ASSERT_GE(Seen.size(), 3u);
    EXPECT_EQ(std::vector<Shot>(Seen.begin(), Seen.begin() + 3),
              (std::vector<Shot>{{0, 0x0000FE}, {1, kBack}, {2, kBack}}));
}

// ---- bg_anim.

class BackgroundLoopTest : public EffectScriptTest {
protected:
    Engine& StartLoopGame() {
        AddPicture("A001", kScreenWidth, kScreenHeight, kRed);
        AddPicture("A002", kScreenWidth, kScreenHeight, kGreen);
        AddPicture("A003", kScreenWidth, kScreenHeight, kBlue);
        AddPicture("SMALL", 400, 300, 0xFFFFFF);
        Engine& engine = StartWith({});
        m_platform.OnPump = nullptr;
        for (int i = 0; i < 5; ++i) {
            m_platform.Pass();
        }
        return engine;
    }
    // Passes until the loop has just advanced.
    void PassToStep() {
        int32_t index = m_engine->gfx.Loop.Index;
        for (int i = 0; i < 100 && m_engine->gfx.Loop.Index == index; ++i) {
            m_platform.Pass();
        }
    }
};

TEST_F(BackgroundLoopTest, CyclesItsFramesEveryPeriodPasses) {
    Engine& engine = StartLoopGame();
    Run("*bg_anim 2,A001,A002,A003");
    ASSERT_TRUE(engine.BackgroundLoopRuns());
    std::vector<uint32_t> shown;
    int64_t passes = engine.PassCounter;
    for (int i = 0; i < 6; ++i) {
        PassToStep();
        shown.push_back(Shown(10, 10));
    }
    EXPECT_EQ(shown, (std::vector<uint32_t>{kGreen, kBlue, kRed, kGreen, kBlue, kRed}));
    EXPECT_LE(engine.PassCounter - passes, 12);
    EXPECT_GE(engine.PassCounter - passes, 11);
    EXPECT_EQ(m_platform.Enabled["N22"], false);
}

TEST_F(BackgroundLoopTest, EndAdoptsTheCurrentFrameAsABackgroundWithoutName) {
    Engine& engine = StartLoopGame();
    CopyName(engine.gfx.Scene.BackgroundName, "A001");
    Run("*bg_anim 1,A001,A002,A003");
    PassToStep();
    PassToStep();
    ASSERT_EQ(Shown(10, 10), kBlue);
    Run("*bg_anim END");
    EXPECT_FALSE(engine.BackgroundLoopRuns());
    EXPECT_EQ(engine.gfx.BackgroundSurface.Pixel(400, 300), kBlue);
    EXPECT_EQ(engine.gfx.SceneSurface.Pixel(400, 300), kBlue);
    EXPECT_EQ(engine.gfx.Scene.BackgroundName[0], '\0');
    EXPECT_EQ(Shown(400, 300), kBlue);
    m_platform.Pass();
    m_platform.Pass();
    EXPECT_EQ(Shown(400, 300), kBlue);
    EXPECT_EQ(m_platform.Enabled["N22"], true);
}

TEST_F(BackgroundLoopTest, PlayOnceShowsTheSequenceOnceAndStops) {
    Engine& engine = StartLoopGame();
    engine.text.WindowShown = 1;
    // Each change of the picture and when it came (a long wait pumps more than once).
    m_platform.OnPump = [this] {
        if (Seen.empty() || Seen.back().second != Shown(10, 10)) {
            Seen.push_back({m_platform.Now, Shown(10, 10)});
        }
    };
    uint64_t start = m_platform.Now;
    Run("*bg_anim 2,A001,A002,>0101");
    using Shot = std::pair<uint64_t, uint32_t>;
    EXPECT_EQ(Seen, (std::vector<Shot>{{start, kRed},
                                       {start + 60, kGreen},
                                       {start + 120, kRed},
                                       {start + 180, kGreen}}));
    EXPECT_FALSE(engine.BackgroundLoopRuns());
    EXPECT_EQ(engine.text.WindowShown, 0);
    EXPECT_FALSE(engine.blocking.Busy());
}

TEST_F(BackgroundLoopTest, SequencesDropWhatNamesNoLoadedFrame) {
    Engine& engine = StartLoopGame();
    struct Case {
        std::string Command;
        std::vector<uint8_t> Sequence;
    };
    const Case cases[] = {
        {"*bg_anim 2,A001,A002,#0Z9", {0}},
        {"*bg_anim 2,A001,A002,#1100", {1, 1, 0, 0}},
        // Nothing left: the frames in their order.
        {"*bg_anim 2,A001,A002,#Zz", {0, 1}},
        {"*bg_anim 2,A001,A002,#" + std::string(300, '1'),
         std::vector<uint8_t>(FrameLoop::kMaxSequence, 1)},
        {"*bg_anim OFS,2,128,4,0,128,0,4,#1201", {1, 0, 1}},
    };
    for (const Case& c : cases) {
        Run(c.Command);
        const FrameLoop& loop = engine.gfx.Loop;
        ASSERT_TRUE(loop.Active) << c.Command;
        EXPECT_EQ(std::vector<uint8_t>(loop.Sequence.begin(), loop.Sequence.begin() + loop.Count),
                  c.Sequence)
            << c.Command;
    }
    // No names: nothing starts, and the loop running goes on.
    Run("*bg_anim 2");
    EXPECT_TRUE(engine.BackgroundLoopRuns());
}

TEST_F(BackgroundLoopTest, ReleaseThenANewLoopMakesItsFramesAgain) {
    Engine& engine = StartLoopGame();
    engine.settings.MemorySaveMode = true;
    Run("*bg_anim 1,A001,A002");
    EXPECT_EQ(engine.gfx.Loop.FramesCreated(), 2);
    Run("*bg_anim RELEASE");
    EXPECT_FALSE(engine.BackgroundLoopRuns());
    EXPECT_EQ(engine.gfx.Loop.FramesCreated(), 0);
    Run("*bg_anim 1,A003,SMALL,NOSUCH");
    ASSERT_TRUE(engine.BackgroundLoopRuns());
    PassToStep();
    // A smaller picture is fitted to its frame, black around it; a missing one leaves its
    // frame as it was (new, black).
    EXPECT_EQ(Shown(10, 10), 0xFFFFFFu);
    EXPECT_EQ(Shown(500, 400), 0u);
    EXPECT_EQ(engine.gfx.Loop.At(1).Picture.Width(), kScreenWidth);
    PassToStep();
    EXPECT_EQ(Shown(10, 10), 0u);
    PassToStep();
    EXPECT_EQ(Shown(10, 10), kBlue);
}

TEST_F(BackgroundLoopTest, EndAndReleaseWithoutALoopOnlyRedraw) {
    Engine& engine = StartLoopGame();
    engine.gfx.BackgroundSurface.Fill(kGreen);
    engine.gfx.PresentWhole(engine.gfx.BackBuffer);
    uint32_t before = Shown(10, 10);
    Run("*bg_anim END");
    Run("*bg_anim RELEASE");
    EXPECT_FALSE(engine.BackgroundLoopRuns());
    EXPECT_EQ(engine.gfx.BackgroundSurface.Pixel(10, 10), kGreen);
    EXPECT_EQ(Shown(10, 10), before);
}

TEST_F(BackgroundLoopTest, TheTitleReturnStopsTheLoop) {
    Engine& engine = StartLoopGame();
    Run("*bg_anim 1,A001,A002");
    engine.gfx.Reset();
    EXPECT_FALSE(engine.BackgroundLoopRuns());
}

TEST(OffsetRowTest, BlendsTheRowsAtTheOffsetAndTakesTheEdgeLeftOfTheRow) {
    std::vector<uint8_t> upper(kScreenWidth * 3, 0);
    std::vector<uint8_t> lower(kScreenWidth * 3);
    for (int j = 0; j < kScreenWidth; ++j) {
        for (int c = 0; c < 3; ++c) {
            lower[static_cast<size_t>(j * 3 + c)] = static_cast<uint8_t>(j + 1);
        }
    }
    std::vector<uint8_t> scratch(kScreenWidth * 3);
    auto frameAfter = [&](int x) {
        std::vector<uint8_t> frame(kScreenWidth * 3, 7);
        BlendOffsetRow(frame.data(), upper.data(), lower.data(), x, 256, scratch.data());
        return frame;
    };
    // Weight 256 takes the second source whole.
    std::vector<uint8_t> right = frameAfter(3);
    EXPECT_EQ(right[0], 7);
    EXPECT_EQ(right[3 * 3], 1);          // frame (3) takes lower (0)
    EXPECT_EQ(right[100 * 3], 98);       // frame (100) takes lower (97)
    std::vector<uint8_t> left = frameAfter(-3);
    EXPECT_EQ(left[0], 1);               // left of the row: its first pixel
    EXPECT_EQ(left[2 * 3], 1);
    EXPECT_EQ(left[3 * 3], 1);           // frame (3) takes lower (0)
    EXPECT_EQ(left[100 * 3], 98);
    EXPECT_EQ(left[797 * 3], 7);         // past 800 - 3 pixels nothing is written
    EXPECT_EQ(frameAfter(800), std::vector<uint8_t>(kScreenWidth * 3, 7));
    EXPECT_EQ(frameAfter(-800), std::vector<uint8_t>(kScreenWidth * 3, 7));
}

TEST(OffsetRowTest, FramesOfTheOffsetFormStayInsideTheScreenAtEveryOffset) {
    Surface scene(kScreenWidth, kScreenHeight);
    scene.Fill(kRed);
    Surface back(kScreenWidth, kScreenHeight);
    back.Fill(kGreen);
    Surface frame(kScreenWidth, kScreenHeight);
    std::vector<uint8_t> scratch(kScreenWidth * 3);
    for (auto [x, y] : {std::pair{0, 0}, {800, 600}, {-800, -600}, {-799, 599}, {13, -7}}) {
        BuildOffsetFrame(scene, back, x, y, 128, frame, scratch.data());
        EXPECT_EQ(frame.Width(), kScreenWidth);
    }
    BuildOffsetFrame(scene, back, 0, 0, 0, frame, scratch.data());
    EXPECT_EQ(frame.Pixel(400, 300), kRed);
    BuildOffsetFrame(scene, back, 0, 0, 256, frame, scratch.data());
    EXPECT_EQ(frame.Pixel(400, 300), kGreen);
}

} // namespace
} // namespace orv
