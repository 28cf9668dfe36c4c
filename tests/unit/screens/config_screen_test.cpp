#include "screens/config_screen.h"

#include "base/files.h"
#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "gfx/gra_encoder.h"
#include "test_support.h"

#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

using std::string_view_literals::operator""sv;

// ---- The arithmetic of the knobs.

struct SliderCase {
    int64_t D;
    int32_t Track;
    int32_t Knob;
    int32_t Value;
};

class SliderValueTest : public ::testing::TestWithParam<SliderCase> {};

TEST_P(SliderValueTest, FollowsTheKnobCentreAndStaysInsideTheTrack) {
    const SliderCase& c = GetParam();
    EXPECT_EQ(SliderValue(c.D, c.Track, c.Knob), c.Value);
}

// A 200-pixel track and a 10-pixel knob: the centre runs from 5 to 195.
INSTANTIATE_TEST_SUITE_P(Ends, SliderValueTest,
                         ::testing::Values(SliderCase{-40, 200, 10, -3000},
                                           SliderCase{0, 200, 10, -3000},
                                           SliderCase{5, 200, 10, -3000},
                                           SliderCase{6, 200, 10, -2985},
                                           SliderCase{194, 200, 10, -16},
                                           SliderCase{195, 200, 10, 0},
                                           SliderCase{100000, 200, 10, 0},
                                           // A knob as wide as its track divides by nothing.
                                           SliderCase{10, 20, 20, -3000},
                                           SliderCase{11, 20, 20, 0},
                                           SliderCase{0, 0, 0, -3000},
                                           SliderCase{1, 0, 0, 0}));

TEST(SliderKnobTest, AHandEditedVolumeOutsideTheSliderKeepsTheKnobOnTheTrack) {
    EXPECT_EQ(SliderKnobOffset(-3000, 200, 10), 0);
    EXPECT_EQ(SliderKnobOffset(0, 200, 10), 195);
    EXPECT_EQ(SliderKnobOffset(-1500, 200, 10), 97);
    EXPECT_EQ(SliderKnobOffset(-7600 * 2 / 5, 200, 10), 0) << "a volume of -7600";
    EXPECT_EQ(SliderKnobOffset(400, 200, 10), 195);
}

struct AutoCase {
    int32_t Track;
    int32_t Steps;
    int32_t Level;
    int32_t Offset;
    bool Moves;
};

class AutoKnobTest : public ::testing::TestWithParam<AutoCase> {};

TEST_P(AutoKnobTest, StandsAtItsLevelOrAtItsStartWithoutRoom) {
    const AutoCase& c = GetParam();
    EXPECT_EQ(AutoKnobMoves(c.Track, c.Steps), c.Moves);
    EXPECT_EQ(AutoKnobOffsetFor(c.Track, c.Steps, c.Level), c.Offset);
}

INSTANTIATE_TEST_SUITE_P(Levels, AutoKnobTest,
                         ::testing::Values(AutoCase{200, 0, 9, 0, false},
                                           AutoCase{200, 1, 9, 0, false},
                                           AutoCase{200, 5, 9, 0, true}, // held to SPD_MAX
                                           AutoCase{200, 5, 5, 0, true},
                                           AutoCase{200, 5, 3, 100, true},
                                           AutoCase{200, 5, 1, 200, true},
                                           AutoCase{200, 5, -4, 200, true},
                                           AutoCase{4, 5, 1, 0, false}));

TEST(AutoLevelTest, TheKnobsPlaceGivesTheLevelWithTheSlowestAtTheRight) {
    EXPECT_EQ(AutoLevelAt(0, 200, 5), 5);
    EXPECT_EQ(AutoLevelAt(39, 200, 5), 5);
    EXPECT_EQ(AutoLevelAt(40, 200, 5), 4);
    EXPECT_EQ(AutoLevelAt(200, 200, 5), 0);
    EXPECT_EQ(AutoLevelAt(-50, 200, 5), 5);
    EXPECT_EQ(AutoLevelAt(900, 200, 5), 0);
}

// ---- The screen in a running game.

constexpr uint32_t kGame = 0x203040;
constexpr uint32_t kBase = 0x101010;
constexpr uint32_t kSheet = 0xE0E0E0;
constexpr uint32_t kKnob = 0x0000FF;
constexpr uint32_t kAutoKnob = 0x00FF00;

struct Layout {
    int32_t SpdMax = 5;
    bool AutoKnobPresent = true;
    std::vector<std::string> Extra; // lines after the layout, which replace its values
};

class ConfigScreenTest : public ::testing::Test {
protected:
    void Start(Layout layout = {}) {
        auto main = "*sleep 10\0"sv;
        std::vector<ArchiveEntryInput> texts{{"main", Bytes(main.begin(), main.end())}};
        std::string config;
        for (std::string line :
             {"MAKER_REG:Software\\Test", "GAME_ID:Cfg", "CFG_GRA:CBASE,CSHEET",
              "CFG_VOL_KNOB:CKNOB", "CFG_AUTO_KNOB:CAKNOB", "CFG_WM_WIN:10,10,60,30",
              "CFG_WM_FULL:70,10,120,30", "CFG_GM_NORMAL:10,40,60,60", "CFG_GM_FAST:70,40,120,60",
              "CFG_TM_NORMAL:10,70,60,90", "CFG_TM_FAST:70,70,120,90", "CFG_MS_STOP:10,100,60,120",
              "CFG_MS_NONE:70,100,120,120", "CFG_DETAIL:600,550,690,590",
              "CFG_CLOSE:700,550,790,590", "CFG_DEFAULT:500,550,590,590",
              "CFG_VOL_DEFAULT:400,550,490,590", "CFG_VOL_CVTEST:300,550,390,590",
              "CFG_VOL_BAR:200,20", "CFG_VOL1:300,100", "CFG_VOL2:300,140", "CFG_VOL3:300,180",
              "CFG_VOL4:300,220", "CFG_AUTO:300,300,500,320", "CFG_RIGHT_CLICK:40,20,10,200,60,200,110,200,160,200,210,200",
              "CFG_SHASEL_SIZE:30,20", "CFG_SHASEL1:10,400,50,400,90,400",
              "VOLUME1:-1000", "VOLUME2:-1500", "VOLUME3:-2000"}) {
            config += line + '\0';
        }
        config += "SPD_MAX:" + std::to_string(layout.SpdMax) + '\0';
        for (const std::string& line : layout.Extra) {
            config += line + '\0';
        }
        texts.push_back({"_config", Bytes(config.begin(), config.end())});
        auto picture = [](const char* name, int width, int height, uint32_t left, uint32_t right) {
            Surface surface(width, height);
            surface.Fill(right);
            Surface half(width / 2, height);
            half.Fill(left);
            surface.CopyFrom(half, Rect{0, 0, half.Width(), height}, 0, 0);
            return ArchiveEntryInput{name, *EncodeGraPicture(surface, {})};
        };
        std::vector<ArchiveEntryInput> pictures{
            picture("CBASE", 800, 600, kBase, kBase), picture("CSHEET", 800, 600, kSheet, kSheet),
            picture("CKNOB", 20, 10, kKnob, 0xFFFFFF)};
        if (layout.AutoKnobPresent) {
            pictures.push_back(picture("CAKNOB", 20, 10, kAutoKnob, 0xFFFFFF));
        }
        WriteFile(m_dir / "ov_data.orv", MakeTextArchive(texts));
        WriteFile(m_dir / "ov_gra.orv", MakeArchive(pictures));
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        for (int i = 0; i < 5; ++i) {
            m_platform.Pass();
        }
        e().gfx.BackBuffer.Fill(kGame);
        e().ShowBackBuffer();
    }

    Engine& e() { return *m_engine; }
    // The knobs are blended through their masks, which leaves a full colour a step short.
    bool KnobAt(int x, int y, uint32_t colour) {
        uint32_t p = e().gfx.BackBuffer.Pixel(x, y);
        for (int shift : {0, 8, 16}) {
            int a = static_cast<int>((p >> shift) & 0xFF), b = static_cast<int>((colour >> shift) & 0xFF);
            if (a - b > 2 || b - a > 2) {
                return false;
            }
        }
        return true;
    }
    ConfigScreen& screen() { return e().screens.config; }
    void Click(int x, int y) {
        e().PBMouseMove(x, y);
        e().PBMouseDown(MouseButton::Left, x, y);
        e().PBMouseUp(MouseButton::Left, x, y);
    }
    std::string StoredSettings() {
        SettingsStore store(SettingsRoot(m_dir / "data"));
        std::optional<Bytes> bytes = ReadWholeFile(store.FileFor(GameSettingsLocation(e().config)));
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(ConfigScreenTest, DefaultsThenCloseWriteEverySettingAndGiveTheGameScreenBack) {
    Start();
    UserSettings& s = e().settings;
    s.RC_MODE = 3;
    s.SE[2] = false;
    s.EFX_CUT = false;
    s.Seen = false;
    s.Typewriter = false;
    s.GMode = true;
    s.CV2 = false;
    s.WHEEL_MODE = 1;
    s.CS_SWAP = true;
    s.VoiceVolume = -10;
    e().vars.V(200) = 2;
    e().vars.S(27) = 2;
    screen().Open();
    ASSERT_TRUE(e().screens.ConfigScreenOpen());
    EXPECT_EQ(e().ScriptRunning, 0);
    EXPECT_EQ(e().MenusLocked, 1);
    EXPECT_EQ(m_platform.PB.Pixel(200, 300), kBase) << "the roll ends on the config screen";
    EXPECT_EQ(m_platform.PB.Pixel(80, 20), kBase) << "SMode 0 highlights the window";
    EXPECT_EQ(m_platform.PB.Pixel(20, 20), kSheet);
    EXPECT_EQ(m_platform.PB.Pixel(80, 50), kSheet) << "GMode 1: transitions at once";
    EXPECT_EQ(m_platform.PB.Pixel(20, 50), kBase);
    EXPECT_EQ(m_platform.PB.Pixel(80, 80), kSheet) << "text at once";

    Click(550, 570);
    EXPECT_EQ(screen().HoverItem, config_item::Defaults);
    EXPECT_EQ(s.RC_MODE, 0);
    EXPECT_EQ(e().vars.V(200), 0);
    EXPECT_EQ(e().vars.S(27), 5);
    EXPECT_EQ(screen().AutoKnobOffset, 0);
    EXPECT_EQ(s.VoiceVolume, -2500);
    EXPECT_EQ(e().text.Delay, 0);
    Click(750, 570);
    EXPECT_FALSE(e().screens.ConfigScreenOpen());
    EXPECT_EQ(e().ScriptRunning, 1);
    EXPECT_EQ(e().MenusLocked, 0);
    EXPECT_EQ(m_platform.PB.Pixel(200, 300), kGame);
    EXPECT_EQ(e().gfx.BackBuffer.Pixel(20, 20), kGame);
    // The globals are written at start-up; the rest by the screen as it closes.
    EXPECT_EQ(StoredSettings(), "[Cfg]\nGV00=0\nGV01=0\nGV02=0\nGV03=0\nGV04=0\nGV05=0\nGV06=0\n"
                                "GV07=0\nGV08=0\nGV09=0\nGMode=0\nSMode=0\nSeen=1\nDelay=0\nBreakonSelect=1\n"
                                "Vol1=-1000\nVol2=-1500\nVol3=-2000\nCV1=1\nCV2=1\nBGM_ENA=1\n"
                                "SE_ENA=1\nSE0=1\nSE1=1\nSE2=1\nSE3=1\nSE4=1\nRC_MODE=0\n"
                                "WHEEL_MODE=0\nCS_SWAP=0\nEFX_CUT=1\n");
}

TEST_F(ConfigScreenTest, ChoosingFullScreenSwitchesWhenTheScreenClosesAndBack) {
    Start();
    screen().Open();
    Click(80, 20);
    EXPECT_FALSE(m_platform.FullScreen) << "nothing switches while the screen is open";
    e().FormKeyPress('\x1b');
    EXPECT_FALSE(e().screens.ConfigScreenOpen()) << "Escape closes as the close button does";
    EXPECT_TRUE(m_platform.FullScreen);
    EXPECT_EQ(e().FullScreenActive, 1);
    EXPECT_NE(StoredSettings().find("SMode=1\n"), std::string::npos);

    screen().Open();
    EXPECT_EQ(m_platform.PB.Pixel(80, 20), kSheet);
    Click(20, 20);
    Click(750, 570);
    EXPECT_FALSE(m_platform.FullScreen);
    EXPECT_EQ(e().FullScreenActive, 0);
    EXPECT_NE(StoredSettings().find("SMode=0\n"), std::string::npos);
}

TEST_F(ConfigScreenTest, TheBorderlessModeHighlightsNeitherScreenOption) {
    Start();
    e().FullScreenMode = 2;
    screen().Open();
    EXPECT_EQ(m_platform.PB.Pixel(20, 20), kBase);
    EXPECT_EQ(m_platform.PB.Pixel(80, 20), kBase);
}

TEST_F(ConfigScreenTest, AVolumeKnobFollowsADragAndItsStartIsWhereTheTrackWasPressed) {
    Start();
    screen().Open();
    e().PBMouseMove(303, 150);
    ASSERT_EQ(screen().HoverItem, config_item::FirstSlider + 1);
    e().PBMouseDown(MouseButton::Right, 303, 150);
    EXPECT_EQ(screen().DragItem, 2) << "the right button acts as the left";
    EXPECT_EQ(e().settings.VoiceVolume, -7500);
    EXPECT_TRUE(KnobAt(302, 142, kKnob));
    e().PBMouseMove(900, 10);
    EXPECT_EQ(e().settings.VoiceVolume, 0) << "a drag past the end holds the knob there";
    EXPECT_TRUE(KnobAt(497, 142, kKnob));
    e().PBMouseMove(400, 10);
    EXPECT_EQ(screen().LastSliderValue, -1500);
    EXPECT_EQ(e().settings.VoiceVolume, -3750);
    e().PBMouseUp(MouseButton::Right, 400, 10);
    EXPECT_EQ(screen().DragItem, 0);
    e().PBMouseMove(310, 105);
    EXPECT_EQ(e().settings.VoiceVolume, -3750) << "moves after the release only hover";
    EXPECT_EQ(screen().HoverItem, config_item::FirstSlider);
}

TEST_F(ConfigScreenTest, AHandEditedVolumeDrawsItsKnobAtTheTrackEnd) {
    Start();
    e().settings.MusicVolume = -9000;
    e().sound.MasterVolume = 2000;
    screen().Open();
    EXPECT_TRUE(KnobAt(302, 222, kKnob));
    EXPECT_TRUE(KnobAt(497, 102, kKnob));
}

class AutoKnobDragTest : public ConfigScreenTest,
                         public ::testing::WithParamInterface<std::tuple<int32_t, int32_t, int32_t>> {};

TEST_P(AutoKnobDragTest, TheAutoKnobMovesOnlyWhereItsTrackHasRoomForItsSteps) {
    auto [spdMax, levelAfterDrag, offsetAfterDrag] = GetParam();
    Start(Layout{spdMax, true, {}});
    e().vars.S(27) = 9;
    screen().Open();
    EXPECT_EQ(screen().AutoKnobOffset, 0);
    EXPECT_TRUE(KnobAt(302, 302, kAutoKnob));
    e().PBMouseMove(310, 305);
    e().PBMouseDown(MouseButton::Left, 310, 305);
    e().PBMouseMove(400, 305);
    EXPECT_EQ(screen().AutoKnobOffset, offsetAfterDrag);
    EXPECT_EQ(e().vars.S(27), levelAfterDrag);
    e().PBMouseMove(2000, 305);
    e().PBMouseUp(MouseButton::Left, 2000, 305);
    if (spdMax >= 2) {
        EXPECT_EQ(screen().AutoKnobOffset, 200);
        EXPECT_EQ(e().vars.S(27), 1) << "the right end is level 0, raised to 1 when drawn";
    } else {
        EXPECT_EQ(screen().AutoKnobOffset, 0);
        EXPECT_EQ(e().vars.S(27), 9);
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, AutoKnobDragTest,
                         ::testing::Values(std::tuple{0, 9, 0}, std::tuple{1, 9, 0},
                                           std::tuple{5, 3, 100}));

TEST_F(ConfigScreenTest, LayoutValuesAtTheEndsOfTheirRangeDrawAndDragWithoutOverflow) {
    Start(Layout{2147483647, true,
                 {"CFG_VOL_BAR:2147483647,-2147483648", "CFG_VOL1:2147483647,2147483647",
                  "CFG_VOL2:-2147483648,100", "CFG_AUTO:-2147483648,300,2147483647,320",
                  "CFG_WM_WIN:2147483647,0,-2147483648,30",
                  "CFG_RIGHT_CLICK:2147483647,2147483647,-2147483648,-2147483648"}});
    EXPECT_EQ(e().config.CFG_VOL1[0], 2147483647) << "the later line holds";
    screen().Open();
    ASSERT_TRUE(e().screens.ConfigScreenOpen());
    for (int x : {-100000, 0, 300, 799, 100000}) {
        e().PBMouseMove(x, 300);
        e().PBMouseDown(MouseButton::Left, x, 300);
        e().PBMouseMove(-x, 300);
        e().PBMouseUp(MouseButton::Left, -x, 300);
    }
    EXPECT_EQ(screen().AutoKnobOffset, 0) << "a step count beyond the track keeps the knob";
    Click(750, 570);
    EXPECT_FALSE(e().screens.ConfigScreenOpen());
}

TEST_F(ConfigScreenTest, ANamedPictureThatIsMissingGivesTheSettingsDialogPath) {
    Start(Layout{5, false, {}});
    screen().Open();
    EXPECT_FALSE(e().screens.ConfigScreenOpen());
    EXPECT_EQ(e().ScriptRunning, 1);
    EXPECT_EQ(e().MenusLocked, 0);
    EXPECT_FALSE(e().blocking.Busy());
    EXPECT_EQ(m_platform.PB.Pixel(200, 300), kGame);
}

TEST_F(ConfigScreenTest, ButtonsLightUnderThePointerAndHitTestingTakesTheFirstControl) {
    Start();
    screen().Open();
    e().PBMouseMove(650, 570);
    EXPECT_EQ(screen().HoverItem, config_item::Detail);
    EXPECT_EQ(m_platform.PB.Pixel(650, 570), kSheet);
    e().PBMouseMove(60, 410);
    EXPECT_EQ(screen().HoverItem, config_item::FirstPreset + 1);
    EXPECT_EQ(m_platform.PB.Pixel(650, 570), kBase) << "the button left goes dark again";
    e().PBMouseMove(5, 5);
    EXPECT_EQ(screen().HoverItem, config_item::None);
    Click(60, 410);
    EXPECT_EQ(e().vars.V(200), 1);
    EXPECT_EQ(m_platform.PB.Pixel(60, 410), kSheet);
    EXPECT_EQ(m_platform.PB.Pixel(20, 410), kBase);
    Click(120, 205);
    EXPECT_EQ(e().settings.RC_MODE, 2);
    Click(650, 570);
    EXPECT_FALSE(e().screens.ConfigScreenOpen()) << "the detail button closes the screen";
    EXPECT_EQ(e().ScriptRunning, 1);
}

} // namespace
} // namespace orv::test
