// The backlog screen, page review and the hidden window inside the engine, driven through
// the input handlers as the player drives them.
#include "base/cp932.h"
#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "engine/keys.h"
#include "gfx/gra_encoder.h"
#include "sound/wady.h"
#include "test_support.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

std::string Sjis(std::string_view utf8) {
    return cp932::FromUtf8Lenient(utf8);
}

Bytes Lines(const std::vector<std::string>& lines) {
    Bytes out;
    for (const std::string& line : lines) {
        std::string stored = Sjis(line);
        out.insert(out.end(), stored.begin(), stored.end());
        out.push_back(0);
    }
    return out;
}

// The bar at (700, 40): the up button above a track from y = 60 to 460, the down button
// below it. Twenty rows of 20 pixels from (40, 40).
// clang-format off
const std::vector<std::string> kConfig = {
    "TXW_OFS_X:0", "TXW_OFS_Y:400", "TXW_SIZE_X:800", "TXW_SIZE_Y:200", "TX_OFS_X:20",
    "TX_OFS_Y:10", "TX_PITCH_X:12", "TX_PITCH_Y:40", "MOJI_MAX_X:40", "MOJI_MAX_Y:4",
    "TX2_OFS_X:40", "TX2_OFS_Y:30", "TX2_PITCH_X:12", "TX2_PITCH_Y:40", "MOJI_MAX2_X:60",
    "MOJI_MAX2_Y:12", "NP_SZ_X:200", "NP_SZ_Y:40", "FONT_SIZE:22", "SPD_MAX:5",
    "LOG_BAR:700,40,0,0", "LOG_BAR_INSIDE:0,20,16,420", "LOG_BAR_UP:700,40,716,60",
    "LOG_BAR_DOWN:700,460,716,480", "LOG_WINDOW:40,40,600,440", "LOG_FONTSIZE:12",
    "LOG_PITCH:20", "LOG_LINES:20"};
// clang-format on

constexpr uint32_t kRed = 0x0000FF; // 0xBBGGRR
constexpr uint32_t kYellow = 0x00FFFF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int kTrackTop = 60;
constexpr int kThumbHeight = 40;

bool IsColour(const Surface& surface, int x, int y, uint32_t bgr) {
    // Blends through a full mask come out one short of the picture's 255.
    uint32_t p = surface.Pixel(x, y);
    for (int shift : {0, 8, 16}) {
        int want = static_cast<int>(bgr >> shift & 0xFF), got = static_cast<int>(p >> shift & 0xFF);
        if (std::abs(want - got) > 2) {
            return false;
        }
    }
    return true;
}

Surface CopyOf(const Surface& surface) {
    Surface copy(surface.Width(), surface.Height());
    copy.CopyFrom(surface, Rect{0, 0, surface.Width(), surface.Height()}, 0, 0);
    return copy;
}

// Screen-sized surfaces hold their rows without padding.
bool SamePixels(const Surface& a, const Surface& b) {
    size_t size = static_cast<size_t>(a.Stride()) * static_cast<size_t>(a.Height());
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Data(), a.Data() + size, b.Data());
}

class BacklogTest : public ::testing::Test {
protected:
    BacklogTest() {
        Sprite("sys_bl_cur", 16, kThumbHeight, kGreen, false);
        Sprite("sys_bl_VR1", 24, 16, kRed, true);
        Sprite("sys_bl_VR2", 24, 16, kYellow, true);
        Sprite("sys_bl_up1", 16, 20, kBlue, false);
        Sprite("sys_bl_up2", 16, 20, kYellow, false);
    }

    void Solid(const std::string& name, int width, int height, uint32_t bgr) {
        Surface picture(width, height);
        picture.Fill(bgr);
        m_pictures[name] = *EncodeGraPicture(picture, {});
    }
    // A solid colour with an opaque mask below it (`stacked`) or beside it.
    void Sprite(const std::string& name, int width, int height, uint32_t bgr, bool stacked) {
        Surface picture(stacked ? width : 2 * width, stacked ? 2 * height : height);
        picture.Fill(kWhite);
        Surface colour(width, height);
        colour.Fill(bgr);
        picture.CopyFrom(colour, Rect{0, 0, width, height}, 0, 0);
        m_pictures[name] = *EncodeGraPicture(picture, {});
    }

    Engine& Start(const std::vector<std::string>& main = {"*sleep 10"}) {
        std::vector<ArchiveEntryInput> pictures;
        for (auto& [name, bytes] : m_pictures) {
            pictures.push_back({name, bytes});
        }
        WriteFile(m_dir / "ov_gra.orv", MakeArchive(pictures));
        WriteFile(m_dir / "ov_data.orv",
                  MakeTextArchive({{"main", Lines(main)}, {"_config", Lines(kConfig)}}));
        PcmClip tone;
        tone.Rate = 44100;
        tone.Samples.assign(4410, 3000);
        WriteFile(m_dir / "ov_se0.orv", MakeArchive({{"V01", EncodePackedSound(tone)}}));
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        m_engine->text.Delay = 1; // whole lines a step
        m_platform.Pass();        // the game starts
        m_engine->vars.S(cell::SavingAllowed) = 1;
        return *m_engine;
    }

    Engine& e() { return *m_engine; }
    const Surface& PB() const { return m_platform.PB; }

    void AddLines(int count, int first = 0) {
        for (int i = first; i < first + count; ++i) {
            e().backlog.AppendBacklogBytes("line " + std::to_string(i));
            e().backlog.CommitBacklogLine();
        }
    }
    void Voice(std::string_view name) { e().backlog.AppendVoiceEntry(name); }

    void Press(int x, int y, MouseButton button = MouseButton::Left) {
        e().PBMouseMove(x, y);
        e().PBMouseDown(button, x, y);
    }
    void Release(int x, int y, MouseButton button = MouseButton::Left) {
        e().PBMouseUp(button, x, y);
    }
    void Click(int x, int y, MouseButton button = MouseButton::Left) {
        Press(x, y, button);
        Release(x, y, button);
    }
    void Key(int code, char press = 0) {
        e().FormKeyDown(code);
        if (press) {
            e().FormKeyPress(press);
        }
        e().FormKeyUp(code);
    }
    int32_t Scroll() { return e().backlog.View().ScrollOffset; }
    bool EffectPlaying() { return e().sound.mixer.IsPlaying(sound_slot::Effect); }

    // Steps the script to its next wait.
    void ToNextWait() {
        for (int i = 0; i < 50 && e().wait.WaitKind == wait_kind::None; ++i) {
            e().dispatcher.ScriptStep();
        }
        ASSERT_NE(e().wait.WaitKind, wait_kind::None);
    }
    // Ends the open wait as a click does and steps on to the next.
    void NextWait() {
        e().ContinueWait();
        ToNextWait();
    }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
    std::map<std::string, Bytes> m_pictures;
};

TEST_F(BacklogTest, OpensOnlyWhileS028AllowsItAndClosesOnTheScreenAsItWas) {
    Engine& engine = Start();
    AddLines(5);
    engine.vars.S(cell::SavingAllowed) = 0;
    Key(keys::Backspace, '\b');
    EXPECT_FALSE(engine.screens.BacklogOpen());

    engine.vars.S(cell::SavingAllowed) = 1;
    engine.vars.S(cell::SaveLoad) = 0;
    engine.UpdateMenus();
    Surface before = CopyOf(PB());
    Key(keys::Backspace, '\b');
    ASSERT_TRUE(engine.screens.BacklogOpen());
    EXPECT_EQ(engine.MenusLocked, 1);
    EXPECT_FALSE(engine.MenuItemEnabled("N20"));
    EXPECT_EQ(engine.vars.S(cell::BacklogButton), 1);
    EXPECT_FALSE(SamePixels(PB(), before));
    int32_t readPos = engine.script.ReadPos;
    for (int pass = 0; pass < 5; ++pass) {
        m_platform.Pass();
    }
    EXPECT_EQ(engine.script.ReadPos, readPos) << "the script stands still under it";

    Click(300, 300, MouseButton::Right);
    EXPECT_FALSE(engine.screens.BacklogOpen());
    EXPECT_EQ(engine.MenusLocked, 0);
    EXPECT_TRUE(engine.MenuItemEnabled("N20"));
    EXPECT_EQ(engine.vars.S(cell::BacklogButton), 0);
    EXPECT_TRUE(SamePixels(PB(), before));
    EXPECT_TRUE(SamePixels(engine.gfx.BackBuffer, before));
}

TEST_F(BacklogTest, AHeldScrollButtonMovesTwoLinesAtOnceThenAfterTwelvePassesAndEveryFive) {
    Engine& engine = Start();
    AddLines(60);
    engine.backlog.OpenBacklog();
    Press(705, 45);
    EXPECT_EQ(Scroll(), 2);
    EXPECT_TRUE(IsColour(PB(), 705, 45, kYellow)) << "the held button is lit";
    std::vector<int> moved;
    for (int pass = 1; pass <= 25; ++pass) {
        int32_t before = Scroll();
        m_platform.Pass();
        if (Scroll() != before) {
            moved.push_back(pass);
        }
    }
    EXPECT_EQ(moved, (std::vector<int>{12, 17, 22}));
    EXPECT_EQ(Scroll(), 8);
    Release(705, 45);
    for (int pass = 0; pass < 20; ++pass) {
        m_platform.Pass();
    }
    EXPECT_EQ(Scroll(), 8);

    Press(705, 465);
    EXPECT_EQ(Scroll(), 6) << "the down button goes the other way";
    Release(705, 465);
}

TEST_F(BacklogTest, TheWheelScrollsFourLinesWithinBothEndsAndNotAtAllWhenTheLinesFit) {
    Engine& engine = Start();
    AddLines(10);
    engine.backlog.OpenBacklog();
    engine.FormMouseWheel(120);
    EXPECT_EQ(Scroll(), 0);
    for (int y = kTrackTop; y < kTrackTop + 400; y += 10) {
        ASSERT_FALSE(IsColour(PB(), 705, y, kGreen)) << "no thumb at " << y;
    }
    engine.backlog.CloseBacklog();
    AddLines(20, 10); // 30 lines, 20 rows: ten to scroll back
    engine.backlog.OpenBacklog();
    std::vector<int32_t> offsets;
    for (int delta : {120, 120, 120, -120, -120, -120, -120}) {
        engine.FormMouseWheel(delta);
        offsets.push_back(Scroll());
    }
    EXPECT_EQ(offsets, (std::vector<int32_t>{4, 8, 10, 6, 2, 0, 0}));
}

TEST_F(BacklogTest, TheThumbFollowsAPressOnTheTrackAndADragBeyondItsEnds) {
    Engine& engine = Start();
    AddLines(60); // 40 lines to scroll over a travel of 400 - 40 pixels
    engine.backlog.OpenBacklog();
    EXPECT_EQ(engine.backlog.View().TrackLength, 360);
    EXPECT_TRUE(IsColour(PB(), 705, kTrackTop + 360 + 5, kGreen)) << "at the bottom: the newest";
    Press(705, kTrackTop + 2);
    EXPECT_EQ(Scroll(), 39);
    e().PBMouseMove(705, -50);
    EXPECT_EQ(Scroll(), 40);
    EXPECT_TRUE(IsColour(PB(), 705, kTrackTop + 5, kGreen)) << "at the top: the oldest";
    e().PBMouseMove(300, kTrackTop + 180);
    EXPECT_EQ(Scroll(), 20) << "the drag follows the pointer off the bar";
    e().PBMouseMove(705, 900);
    EXPECT_EQ(Scroll(), 0);
    Release(705, 900);
    e().PBMouseMove(705, kTrackTop + 100);
    EXPECT_EQ(Scroll(), 0) << "no drag after the release";
}

TEST_F(BacklogTest, ATrackNoLongerThanTheThumbIgnoresPressesAndDrags) {
    Sprite("sys_bl_cur", 16, 400, kGreen, false);
    Engine& engine = Start();
    AddLines(60);
    engine.backlog.OpenBacklog();
    EXPECT_EQ(engine.backlog.View().TrackLength, 0);
    Press(705, kTrackTop + 100);
    EXPECT_EQ(engine.backlog.View().DragMode, BacklogView::Drag::None);
    e().PBMouseMove(705, kTrackTop + 300);
    EXPECT_EQ(Scroll(), 0);
}

TEST_F(BacklogTest, AVoiceEntryInTheFirstRowHasNoButtonUntilScrolledIntoTheSecond) {
    Engine& engine = Start();
    AddLines(1);
    Voice("V01");
    AddLines(19, 1); // 21 lines: the voice entry stands in the first row
    engine.backlog.OpenBacklog();
    EXPECT_EQ(engine.backlog.FirstShownLine(), 1);
    EXPECT_FALSE(IsColour(PB(), 45, 40, kRed));
    Click(45, 45);
    EXPECT_FALSE(EffectPlaying());

    engine.FormMouseWheel(120);
    ASSERT_EQ(Scroll(), 1);
    EXPECT_TRUE(IsColour(PB(), 45, 60 - 4 + 2, kRed)) << "the button, 4 pixels above its row";
    e().PBMouseMove(45, 65);
    EXPECT_TRUE(IsColour(PB(), 45, 58, kYellow)) << "lit under the pointer";
    Click(45, 65);
    EXPECT_TRUE(EffectPlaying());
    e().PBMouseMove(300, 300);
    EXPECT_TRUE(IsColour(PB(), 45, 58, kRed));
}

TEST_F(BacklogTest, TheTextFlowLogsItsLinesAndAVoiceTagAfterTheTextBeforeIt) {
    Engine& engine = Start({">ゆう", "「あいう[cv V01", "\\", "えお", "\\"});
    ToNextWait();
    NextWait();
    const BacklogStore& lines = engine.backlog.Lines;
    std::vector<std::string> logged;
    for (int i = 0; i < lines.Count(); ++i) {
        logged.push_back(cp932::ToUtf8(lines.Line(i)));
    }
    // Each line end and each page end commits a line: a page ends in an empty one.
    EXPECT_EQ(logged, (std::vector<std::string>{"ゆう", "「あいう", "@V01", "", "", "えお", ""}));
}

// ---- Page review.

// A row of a snapshot's page as UTF-8: empty columns as blanks, trailing ones dropped.
std::string Row(const PageSnapshot& page, int row) {
    const auto& text = page.PageText[static_cast<size_t>(row)];
    std::string bytes(text.begin(), text.end());
    bytes.erase(bytes.find_last_not_of('\0') + 1);
    std::replace(bytes.begin(), bytes.end(), '\0', ' ');
    return cp932::ToUtf8(bytes);
}

std::vector<std::string> Pages(int count) {
    std::vector<std::string> script;
    for (int i = 1; i <= count; ++i) {
        script.push_back("頁" + std::to_string(i));
        script.push_back("\\");
    }
    return script;
}

TEST_F(BacklogTest, ReviewNeedsAPageBeforeThePresentGoesFiftyBackAndLeavesForwardFromTwo) {
    Engine& engine = Start(Pages(60));
    ToNextWait();
    Key(keys::Left);
    EXPECT_EQ(engine.screens.Mode(), screen_mode::Game) << "one snapshot: nothing to review";
    for (int page = 2; page <= 60; ++page) {
        NextWait();
    }
    EXPECT_EQ(engine.backlog.Rewind.SnapshotCounter, 60);
    Key(keys::Left);
    ASSERT_EQ(engine.screens.Mode(), screen_mode::PageReview);
    EXPECT_EQ(engine.backlog.RewindDepth, 2);
    EXPECT_EQ(engine.MenusLocked, 1);
    for (int step = 0; step < 60; ++step) {
        engine.FormMouseWheel(120);
    }
    EXPECT_EQ(engine.backlog.RewindDepth, 50);
    for (int step = 0; step < 48; ++step) {
        Key(keys::Right);
    }
    EXPECT_EQ(engine.backlog.RewindDepth, 2);
    EXPECT_EQ(engine.screens.Mode(), screen_mode::PageReview);
    Key(keys::Right);
    EXPECT_EQ(engine.screens.Mode(), screen_mode::Game);
    EXPECT_EQ(engine.MenusLocked, 0);
    EXPECT_EQ(engine.wait.WaitKind, wait_kind::Page) << "the game's wait is still open";
}

TEST_F(BacklogTest, AProvisionalSnapshotIsReplacedByThePagesFinalOneInTheSameSlot) {
    Engine& engine = Start({"*cv V01", "あ", "=", "い", "\\", "う", "\\"});
    RewindRing& ring = engine.backlog.Rewind;
    ToNextWait();
    ASSERT_EQ(engine.wait.WaitKind, wait_kind::Line);
    EXPECT_EQ(engine.vars.S(cell::ProvisionalSnapshot), 1);
    EXPECT_EQ(ring.SnapshotCounter, 0);
    EXPECT_EQ(Row(ring.Pages[0], 1), "  あ");
    EXPECT_STREQ(ring.Pages[0].Voices, "V01 ");
    NextWait();
    EXPECT_EQ(engine.vars.S(cell::ProvisionalSnapshot), 0);
    EXPECT_EQ(ring.SnapshotCounter, 1);
    EXPECT_EQ(Row(ring.Pages[0], 1), "  あ");
    EXPECT_EQ(Row(ring.Pages[0], 2), "  い");
    EXPECT_STREQ(ring.Pages[0].Voices, "V01 ") << "the page's voice stays for its final snapshot";
    EXPECT_STREQ(engine.sound.PageVoices, "");
    NextWait();
    EXPECT_EQ(ring.SnapshotCounter, 2);
    EXPECT_STREQ(ring.Pages[1].Voices, "");
}

TEST_F(BacklogTest, LeavingReviewRestoresTheCellsTheCharactersAndTheBackgroundOnTheScreen) {
    Solid("A001", kScreenWidth, kScreenHeight, kBlue);
    Solid("B001", 100, 200, kRed);
    Solid("M001", 100, 200, kWhite);
    Engine& engine = Start({"*bg A001 0", "一", "\\", "*spr B001:1", "二", "\\", "!S081=321",
                            "*spr B001:B001:1", "三", "\\"});
    ToNextWait();
    NextWait();
    NextWait();
    // The frame a background loop stopped at: on the screen, with no name for it.
    CopyName(engine.gfx.Scene.BackgroundName, "");
    engine.gfx.BackgroundSurface.Fill(kGreen);
    engine.gfx.ComposeScene();
    std::string characters(FieldText(engine.gfx.Scene.CharacterDescription));
    std::vector<int32_t> positions;
    for (int i = cell::PositionX; i < cell::PositionY + 10; ++i) {
        positions.push_back(engine.vars.S(i));
    }
    // The page shown in review used the full-screen layout.
    int32_t slot = engine.backlog.Rewind.SlotAt(0, 2);
    engine.backlog.Rewind.Pages[static_cast<size_t>(slot)].LayoutFlag = 1;

    Key(keys::Left);
    ASSERT_EQ(engine.screens.Mode(), screen_mode::PageReview);
    EXPECT_EQ(engine.vars.S(cell::NovelMode), 1);
    EXPECT_EQ(engine.vars.S(81), 250) << "the second page's table";
    EXPECT_EQ(FieldText(engine.gfx.Scene.CharacterDescription), "B001");

    Click(300, 300, MouseButton::Right);
    EXPECT_EQ(engine.screens.Mode(), screen_mode::Game);
    EXPECT_EQ(engine.vars.S(cell::NovelMode), 0);
    EXPECT_EQ(engine.vars.S(81), 321);
    std::vector<int32_t> after;
    for (int i = cell::PositionX; i < cell::PositionY + 10; ++i) {
        after.push_back(engine.vars.S(i));
    }
    EXPECT_EQ(after, positions);
    EXPECT_EQ(FieldText(engine.gfx.Scene.CharacterDescription), characters);
    EXPECT_TRUE(IsColour(engine.gfx.BackgroundSurface, 5, 5, kGreen));
    EXPECT_TRUE(IsColour(PB(), 5, 5, kGreen));
}

// ---- The hidden window.

struct RestoreWay {
    const char* Name;
    int Key;
    char Press;
    bool Click;
};

class HiddenWindowTest : public BacklogTest, public ::testing::WithParamInterface<RestoreWay> {};

TEST_P(HiddenWindowTest, ComesBackExactlyAsItWasShown) {
    Engine& engine = Start({"あいう", "\\"});
    ToNextWait();
    Surface before = CopyOf(PB());
    int32_t autoLevel = engine.vars.S(cell::AutoLevel);
    Key('W', 'w');
    ASSERT_EQ(engine.screens.Mode(), screen_mode::WindowHidden);
    EXPECT_EQ(engine.MenusLocked, 1);
    EXPECT_TRUE(SamePixels(PB(), engine.gfx.SceneSurface));
    engine.PBPaint();
    EXPECT_TRUE(SamePixels(PB(), engine.gfx.SceneSurface)) << "repainted without the window";

    const RestoreWay& way = GetParam();
    if (way.Click) {
        Click(300, 300, MouseButton::Right);
    } else {
        Key(way.Key, way.Press);
    }
    EXPECT_EQ(engine.screens.Mode(), screen_mode::Game);
    EXPECT_EQ(engine.MenusLocked, 0);
    EXPECT_TRUE(SamePixels(PB(), before));
    EXPECT_EQ(engine.wait.WaitKind, wait_kind::Page) << "the page wait is still open";
    EXPECT_EQ(engine.vars.S(cell::AutoLevel), autoLevel);
}

INSTANTIATE_TEST_SUITE_P(Ways, HiddenWindowTest,
                         ::testing::Values(RestoreWay{"Press", 0, 0, true},
                                           RestoreWay{"W", 'W', 'w', false},
                                           RestoreWay{"Space", keys::Space, ' ', false},
                                           RestoreWay{"Return", keys::Return, '\r', false},
                                           RestoreWay{"Escape", keys::Escape, '\x1b', false}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace orv::test
