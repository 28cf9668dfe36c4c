// The quick buttons and the auto-speed indicator over a small game whose sheets are plain
// colours, so that every look shows as a colour of its own.
#include "base/cp932.h"
#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "gfx/gra_encoder.h"
#include "test_support.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

constexpr int kCell = 16;
constexpr int kWindowY = 400;
// Moving the window puts its top 10 rows above the screen's bottom edge.
constexpr int kMovedWindowY = 590;

// Button n (1..12) in the window at (20 n, 20); 9 and 10 share (180, 2). Button 13 on the
// screen at (700, 10); button 14 on the screen with a cell that runs past the sheet's edge.
std::vector<std::string> ConfigLines() {
    std::vector<std::string> lines = {
        "TXW_OFS_X:0", "TXW_OFS_Y:" + std::to_string(kWindowY),
        "TXW_OFS_Y2:" + std::to_string(kMovedWindowY), "TXW_SIZE_X:800", "TXW_SIZE_Y:200",
        "TX_OFS_X:20", "TX_OFS_Y:60", "TX_PITCH_X:12", "TX_PITCH_Y:40", "MOJI_MAX_X:40",
        "MOJI_MAX_Y:3", "NP_SZ_X:100", "NP_SZ_Y:20", "SPD_MAX:5", "FONT_SIZE:22",
        "SPD_TW:3", "SPD_OFS_X:300", "SPD_OFS_Y:100", "SPD_DIR:1", "SPD_DOT_OFS_X:5",
        "SPD_DOT_OFS_Y:1", "SPD_DOT_SIZE:10"};
    for (int n = 1; n <= 12; ++n) {
        int x = n == 9 || n == 10 ? 180 : 20 * n;
        int y = n == 9 || n == 10 ? 2 : 20;
        lines.push_back(std::string(kQuickButtonKeys[static_cast<size_t>(n - 1)]) + ":1," +
                        std::to_string(kCell) + "," + std::to_string(kCell) + "," +
                        std::to_string(x) + "," + std::to_string(y) + ",0,0");
    }
    lines.push_back("QB_S1:2,16,16,700,10,0,0");
    lines.push_back("QB_S2:2,16,16,600,10,56,0");
    return lines;
}

// A sheet of one colour over a mask that shows all of it.
ArchiveEntryInput Sheet(const char* name, uint32_t bgr) {
    Surface sheet(64, 2 * kCell);
    sheet.Fill(0xFFFFFF);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < sheet.Width(); ++x) {
            sheet.SetPixel(x, y, bgr);
        }
    }
    return {name, *EncodeGraPicture(sheet, {})};
}

// Side by side: colour on the left, a mask that shows all of it on the right.
ArchiveEntryInput SideBySide(const char* name, int width, int height, uint32_t bgr) {
    Surface picture(2 * width, height);
    picture.Fill(0xFFFFFF);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.SetPixel(x, y, bgr);
        }
    }
    return {name, *EncodeGraPicture(picture, {})};
}

// Full-strength sheet bytes come out of the mask blend one step darker (x 255 >> 8).
constexpr uint32_t kNormal = 0x0000BF;  // sys_qbtn1, from 0x0000C0
constexpr uint32_t kHovered = 0x00BF00; // sys_qbtn1_om
constexpr uint32_t kOn = 0xBF0000;      // sys_qbtn1_on
constexpr uint32_t kScreenNormal = 0x3F3F00; // sys_qbtn2 (it has no on sheet)
constexpr uint32_t kScreenHovered = 0x003F3F;

// Notes what the screen showed while the engine slept, as the pressed look holds for a moment.
class SleepWatchingPlatform : public FakePlatform {
public:
    void Sleep(uint32_t ms) override {
        if (Engine != nullptr && WatchX >= 0) {
            SleptShowing.push_back(Engine->gfx.PaintBoxCopy().Pixel(WatchX, WatchY));
        }
        FakePlatform::Sleep(ms);
    }
    int WatchX = -1;
    int WatchY = 0;
    std::vector<uint32_t> SleptShowing;
};

class QuickButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string config;
        for (const std::string& line : ConfigLines()) {
            config += line;
            config += '\0';
        }
        std::string main = cp932::FromUtf8Lenient("あいう");
        main += std::string("\0\\\0", 3);
        WriteFile(m_dir / "game" / "ov_data.orv",
                  MakeTextArchive({{"main", ToBytes(main)}, {"_config", ToBytes(config)}}));
        WriteFile(m_dir / "game" / "ov_gra.orv",
                  MakeArchive({Sheet("SYS_QBTN1", 0x0000C0), Sheet("SYS_QBTN1_OM", 0x00C000),
                               Sheet("SYS_QBTN1_ON", 0xC00000), Sheet("SYS_QBTN2", 0x404000),
                               Sheet("SYS_QBTN2_OM", 0x004040),
                               SideBySide("SYS_AUTOBAR", 60, 12, 0x101010),
                               SideBySide("SYS_AUTO", 4, 4, 0xF0F0F0)}));
        m_engine = StartEngine(m_platform, m_dir / "game", m_dir / "data");
        for (int i = 0; i < 400 && e().wait.WaitKind == 0; ++i) {
            m_platform.Now += 20;
            m_platform.Pass();
        }
        ASSERT_NE(e().wait.WaitKind, 0);
        ASSERT_TRUE(e().text.WindowShown);
        e().dispatcher.PassageRead = 1;
    }

    Engine& e() { return *m_engine; }
    QuickButtons& buttons() { return e().screens.quickButtons; }
    uint32_t Back(int x, int y) { return e().gfx.BackBuffer.Pixel(x, y); }
    uint32_t Shown(int x, int y) { return e().gfx.PaintBoxCopy().Pixel(x, y); }
    void Click(int x, int y) {
        e().PBMouseMove(x, y);
        e().PBMouseDown(MouseButton::Left, x, y);
        e().PBMouseUp(MouseButton::Left, x, y);
    }
    // The centre of button n (1..12) with the window at its first place.
    static int CentreX(int n) { return 20 * n + kCell / 2; }
    static constexpr int kCentreY = kWindowY + 20 + kCell / 2;

    TempDir m_dir;
    SleepWatchingPlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

struct LookCase {
    int Button;
    int32_t State;
    uint32_t Colour; // 0: the screen shows through, as before the draw
};

class QuickButtonLookTest : public QuickButtonsTest,
                            public ::testing::WithParamInterface<LookCase> {};

TEST_P(QuickButtonLookTest, EachStateShowsItsOwnSheetOnTheScreenAndInTheWindow) {
    const LookCase& look = GetParam();
    bool inWindow = look.Button != quick_button::StatusScreen;
    int x = inWindow ? CentreX(look.Button) : 708;
    int y = inWindow ? kCentreY : 18;
    uint32_t before = Back(x, y);
    e().vars.S(cell::FirstQuickButton + look.Button - 1) = look.State;
    buttons().Refresh();
    uint32_t expected = look.Colour != 0 ? look.Colour : before;
    EXPECT_EQ(Back(x, y), expected);
    EXPECT_EQ(Shown(x, y), expected);
    if (inWindow) {
        EXPECT_EQ(e().text.WindowPicture.Pixel(x, y - kWindowY), expected);
    }
    // The edges of the cell are the button's; the next pixel is not.
    Rect at = buttons().ScreenRect(look.Button);
    EXPECT_EQ(Back(at.X + at.Width - 1, at.Y + at.Height - 1), expected);
    EXPECT_NE(Back(at.X + at.Width, at.Y + at.Height - 1), expected);
}

INSTANTIATE_TEST_SUITE_P(
    States, QuickButtonLookTest,
    ::testing::Values(LookCase{quick_button::HideWindow, quick_button::Normal, kNormal},
                      LookCase{quick_button::HideWindow, quick_button::Hovered, kHovered},
                      LookCase{quick_button::HideWindow, quick_button::On, kOn},
                      // A state no sheet stands for looks normal.
                      LookCase{quick_button::HideWindow, 7, kNormal},
                      LookCase{quick_button::StatusScreen, quick_button::Normal, kScreenNormal},
                      LookCase{quick_button::StatusScreen, quick_button::Hovered, kScreenHovered},
                      // sys_qbtn2_on is missing: nothing is drawn.
                      LookCase{quick_button::StatusScreen, quick_button::On, 0}));

TEST_F(QuickButtonsTest, ACellRunningPastItsSheetDrawsOnlyTheColumnsTheSheetHolds) {
    // Button 14's cell starts 8 columns before the sheet's right edge.
    uint32_t beyond = Back(612, 18);
    buttons().Refresh();
    EXPECT_EQ(Back(600, 18), kScreenNormal);
    EXPECT_EQ(Back(607, 18), kScreenNormal);
    EXPECT_EQ(Back(612, 18), beyond);
}

struct HoverCase {
    const char* Situation;
    int Button;
    bool Lights;
};

class QuickButtonHoverTest : public QuickButtonsTest,
                             public ::testing::WithParamInterface<HoverCase> {};

TEST_P(QuickButtonHoverTest, FiltersDecideWhichButtonsLightUp) {
    const HoverCase& hover = GetParam();
    std::string situation = hover.Situation;
    Engine& engine = e();
    if (situation == "auto on") {
        engine.vars.S(cell::AutoLevel) = 3;
    } else if (situation == "unread, Seen") {
        engine.dispatcher.PassageRead = 0;
        engine.settings.Seen = true;
    } else if (situation == "unread, not Seen") {
        engine.dispatcher.PassageRead = 0;
        engine.settings.Seen = false;
    } else if (situation == "choice") {
        engine.choices.SelectionKind = selection_kind::Window;
    } else if (situation == "replay") {
        engine.screens.ReplayMode = replay_mode::Gallery;
    } else if (situation == "rewind") {
        engine.screens.Open(engine.screens.pageReview);
    }
    buttons().Hover(CentreX(hover.Button), kCentreY);
    EXPECT_EQ(buttons().HoveredButton, hover.Lights ? hover.Button : 0) << situation;
    EXPECT_EQ(engine.vars.S(cell::FirstQuickButton + hover.Button - 1),
              hover.Lights ? quick_button::Hovered : quick_button::Normal)
        << situation;
    engine.screens.Close(engine.screens.pageReview);
}

INSTANTIATE_TEST_SUITE_P(
    Situations, QuickButtonHoverTest,
    ::testing::Values(HoverCase{"auto off", quick_button::AutoFaster, false},
                      HoverCase{"auto off", quick_button::AutoSlower, false},
                      HoverCase{"auto on", quick_button::AutoFaster, true},
                      HoverCase{"unread, Seen", quick_button::Skip, false},
                      HoverCase{"unread, not Seen", quick_button::Skip, true},
                      HoverCase{"read", quick_button::Skip, true},
                      HoverCase{"choice", quick_button::HideWindow, false},
                      HoverCase{"choice", quick_button::Backlog, false},
                      HoverCase{"choice", quick_button::QuickSave, true},
                      HoverCase{"replay", quick_button::QuickSave, false},
                      HoverCase{"replay", quick_button::QuickLoad, false},
                      HoverCase{"replay", quick_button::Backlog, true},
                      HoverCase{"rewind", quick_button::Skip, true},
                      HoverCase{"rewind", quick_button::VoiceReplay, true},
                      HoverCase{"rewind", quick_button::Auto, false},
                      HoverCase{"rewind", quick_button::QuickSave, false}));

TEST_F(QuickButtonsTest, TheHighlightGoesAtTheFirstTickAfterThePointerLeaves) {
    Engine& engine = e();
    engine.PBMouseMove(CentreX(quick_button::HideWindow), kCentreY);
    EXPECT_EQ(buttons().HoveredButton, quick_button::HideWindow);
    EXPECT_EQ(Shown(CentreX(quick_button::HideWindow), kCentreY), kHovered);
    engine.PBMouseLeave();
    engine.Timer1Timer();
    EXPECT_EQ(buttons().HoveredButton, 0);
    EXPECT_EQ(Shown(CentreX(quick_button::HideWindow), kCentreY), kNormal);
}

TEST_F(QuickButtonsTest, TheMoveButtonsTakeTurnsAndTheMovedWindowRunsPastTheScreenBottom) {
    Engine& engine = e();
    EXPECT_TRUE(buttons().Exists(quick_button::MoveWindow));
    EXPECT_FALSE(buttons().Exists(quick_button::MoveWindowBack));
    Click(188, kWindowY + 10);
    EXPECT_EQ(engine.vars.S(cell::WindowPosition), 1);
    EXPECT_FALSE(buttons().Exists(quick_button::MoveWindow));
    EXPECT_TRUE(buttons().Exists(quick_button::MoveWindowBack));
    // Button 10 now stands at y 592..607: its rows on the screen are drawn, the rest cut off.
    engine.PBMouseMove(188, 595);
    EXPECT_EQ(buttons().HoveredButton, quick_button::MoveWindowBack);
    EXPECT_EQ(Back(188, 599), kHovered);
    EXPECT_EQ(Shown(188, 592), kHovered);
    EXPECT_NE(Back(188, 591), kHovered);
    Click(188, 595);
    EXPECT_EQ(engine.vars.S(cell::WindowPosition), 0);
    EXPECT_TRUE(buttons().Exists(quick_button::MoveWindow));
}

TEST_F(QuickButtonsTest, AutoButtonsChangeTheSpeedWithinItsLevels) {
    Engine& engine = e();
    engine.vars.S(cell::AutoLevelRestored) = 9; // outside 1..SPD_MAX: auto starts at 4
    Click(CentreX(quick_button::Auto), kCentreY);
    EXPECT_EQ(engine.vars.S(cell::AutoLevel), 4);
    EXPECT_EQ(engine.vars.S(cell::AutoIndicator), quick_button::On);
    for (int i = 0; i < 6; ++i) {
        Click(CentreX(quick_button::AutoFaster), kCentreY);
    }
    EXPECT_EQ(engine.vars.S(cell::AutoLevel), 1);
    for (int i = 0; i < 6; ++i) {
        Click(CentreX(quick_button::AutoSlower), kCentreY);
    }
    EXPECT_EQ(engine.vars.S(cell::AutoLevel), 5);
    Click(CentreX(quick_button::Auto), kCentreY);
    EXPECT_EQ(engine.vars.S(cell::AutoLevel), 0);
    EXPECT_EQ(engine.vars.S(cell::AutoLevelRestored), 5);
    // With auto mode off the speed buttons neither light nor act, and the press goes on.
    Click(CentreX(quick_button::AutoFaster), kCentreY);
    EXPECT_EQ(engine.vars.S(cell::AutoLevel), 0);
}

TEST_F(QuickButtonsTest, SkipButtonTogglesSkipModeAndShowsItsOnLook) {
    Engine& engine = e();
    Click(CentreX(quick_button::Skip), kCentreY);
    EXPECT_EQ(engine.SkipActive, 1);
    EXPECT_EQ(engine.vars.S(cell::SkipIndicator), quick_button::On);
    EXPECT_EQ(Shown(CentreX(quick_button::Skip), kCentreY), kOn);
}

TEST_F(QuickButtonsTest, QuickSaveShowsItsOnLookFirstAndDoesNothingDuringAReplay) {
    Engine& engine = e();
    int x = CentreX(quick_button::QuickSave);
    engine.screens.ReplayMode = replay_mode::Gallery;
    Click(x, kCentreY);
    EXPECT_FALSE(engine.saves.ReadSlotSummary(SaveSlots::kQuickSlot).has_value());
    engine.screens.ReplayMode = replay_mode::None;
    m_platform.WatchX = x;
    m_platform.WatchY = kCentreY;
    Click(x, kCentreY);
    ASSERT_FALSE(m_platform.SleptShowing.empty());
    EXPECT_EQ(m_platform.SleptShowing.front(), kOn);
    EXPECT_EQ(engine.vars.S(cell::FirstQuickButton + quick_button::QuickSave - 1), 0);
    EXPECT_TRUE(engine.saves.ReadSlotSummary(SaveSlots::kQuickSlot).has_value());
    EXPECT_EQ(buttons().HoveredButton, 0);
}

TEST_F(QuickButtonsTest, QuickLoadAsksFirst) {
    Click(CentreX(quick_button::QuickLoad), kCentreY);
    EXPECT_EQ(e().prompts.SystemMenuState, prompt_action::QuickLoad);
    EXPECT_EQ(buttons().HoveredButton, 0);
}

struct IndicatorCase {
    int32_t Direction;
    int32_t DotSize;
    int X;
    int Y;
    int32_t Level; // before
    int32_t After; // -1: the press is not the indicator's
};

class IndicatorClickTest : public QuickButtonsTest,
                           public ::testing::WithParamInterface<IndicatorCase> {};

TEST_P(IndicatorClickTest, APressBeforeOnOrAfterTheDotsSetsTheSpeed) {
    const IndicatorCase& c = GetParam();
    Engine& engine = e();
    engine.config.SPD_DIR = c.Direction;
    engine.config.SPD_DOT_SIZE = c.DotSize;
    engine.vars.S(cell::AutoLevel) = c.Level;
    bool hit = buttons().IndicatorClick(c.X, c.Y);
    EXPECT_EQ(hit, c.After >= 0);
    EXPECT_EQ(engine.vars.S(cell::AutoLevel), c.After >= 0 ? c.After : c.Level);
    if (hit) {
        EXPECT_EQ(engine.vars.S(cell::AutoLevelRestored), c.After);
    }
}

// The indicator is 60 x 12 at (300, 100); the dots start 5 across or 1 down; SPD_MAX is 5.
INSTANTIATE_TEST_SUITE_P(
    Presses, IndicatorClickTest,
    ::testing::Values(
        // Across, dots 10 apart over x 305..354: before them slower, after them faster.
        IndicatorCase{1, 10, 302, 105, 3, 4}, IndicatorCase{1, 10, 302, 105, 5, 5},
        IndicatorCase{1, 10, 357, 105, 3, 2}, IndicatorCase{1, 10, 357, 105, 1, 1},
        IndicatorCase{1, 10, 305, 105, 3, 5}, IndicatorCase{1, 10, 327, 105, 1, 3},
        IndicatorCase{1, 10, 354, 105, 3, 1}, IndicatorCase{1, 10, 327, 112, 3, -1},
        IndicatorCase{1, 10, 299, 105, 3, -1},
        // Down, dots 2 apart over y 101..110.
        IndicatorCase{0, 2, 320, 100, 3, 4}, IndicatorCase{0, 2, 320, 111, 3, 2},
        IndicatorCase{0, 2, 320, 101, 3, 1}, IndicatorCase{0, 2, 320, 106, 1, 3},
        IndicatorCase{0, 2, 360, 106, 3, -1},
        // No spacing: only the two ends are left, and nothing divides by it.
        IndicatorCase{1, 0, 327, 105, 3, 2}, IndicatorCase{1, 0, 302, 105, 3, 4}));

TEST_F(QuickButtonsTest, TheIndicatorShowsMoreDotsTheFasterTheSpeed) {
    Engine& engine = e();
    auto dots = [&] {
        int count = 0;
        for (int i = 0; i < 5; ++i) {
            count += Shown(306 + 10 * i, 102) == 0xEFEFEF ? 1 : 0;
        }
        return count;
    };
    engine.vars.S(cell::AutoLevel) = 1;
    buttons().Refresh();
    EXPECT_EQ(dots(), 5);
    engine.vars.S(cell::AutoLevel) = 4;
    buttons().Refresh();
    EXPECT_EQ(dots(), 2);
    // A script's level far outside the range shows one dot, not a run past the indicator.
    engine.vars.S(cell::AutoLevel) = 1000000;
    buttons().Refresh();
    EXPECT_EQ(dots(), 1);
    engine.config.SPD_MAX = 2000000000;
    engine.vars.S(cell::AutoLevel) = 1;
    buttons().Refresh();
    EXPECT_EQ(dots(), 5);
}

} // namespace
} // namespace orv::test
