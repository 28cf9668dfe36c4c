// The scene through the engine: character lists, the compositor, the road to the screen,
// the character move and the panic screen, over a game built in a temporary directory.
#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "gfx/bmp_file.h"
#include "gfx/gra_encoder.h"
#include "script/dispatcher.h"
#include "test_support.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

// Colours as surfaces hold them (0xBBGGRR); through an opaque mask a byte 255 shows as 254.
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kShownRed = 0x0000FE;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kShownGreen = 0x00FE00;
constexpr uint32_t kWhite = 0xFFFFFF;

// Delivers a click to the running effect at the given message pump (a click on PB during a
// blocking effect only sets InterruptRequest), and lets a test look in at every pump.
class ClickingPlatform : public test::FakePlatform {
public:
    void PumpMessages() override {
        FakePlatform::PumpMessages();
        if (ClickAtPump != 0 && Pumps == ClickAtPump) {
            Engine->blocking.InterruptRequest = 1;
        }
        if (OnPump) {
            OnPump();
        }
    }
    int ClickAtPump = 0;
    std::function<void()> OnPump;
};

Bytes Lines(const std::vector<std::string>& lines) {
    Bytes out;
    for (const auto& line : lines) {
        out.insert(out.end(), line.begin(), line.end());
        out.push_back(0);
    }
    return out;
}

class SceneTest : public testing::Test {
protected:
    void AddPicture(const std::string& name, const Surface& picture) {
        m_pictures[name] = *EncodeGraPicture(picture, {});
    }
    void AddPicture(const std::string& name, int width, int height, uint32_t bgr) {
        Surface picture(width, height);
        picture.Fill(bgr);
        AddPicture(name, picture);
    }
    // A character 20 pixels wide with its opaque mask M... beside it in the archive.
    void AddCharacter(const std::string& name, uint32_t bgr, int width = 20) {
        AddPicture(name, width, kScreenHeight, bgr);
        AddPicture("M" + name.substr(1), width, kScreenHeight, kWhite);
    }

    Engine& Start() {
        std::vector<ArchiveEntryInput> pictures;
        for (auto& [name, bytes] : m_pictures) {
            pictures.push_back({name, bytes});
        }
        test::WriteFile(m_dir / "ov_gra.orv", test::MakeArchive(pictures));
        test::WriteFile(m_dir / "ov_data.orv",
                        test::MakeTextArchive({{"_config", Lines(m_config)},
                                               {"_sprset", Lines(m_sprset)},
                                               {"main", Lines({"!V000=1"})}}));
        m_engine = test::StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        return *m_engine;
    }

    uint32_t Scene(int x, int y) const { return m_engine->gfx.SceneSurface.Pixel(x, y); }
    uint32_t Shown(int x, int y) const { return m_platform.PB.Pixel(x, y); }

    test::TempDir m_dir;
    std::map<std::string, Bytes> m_pictures;
    std::vector<std::string> m_config;
    std::vector<std::string> m_sprset;
    ClickingPlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(SceneTest, StartUpLoadsTheDefaultPositionTable) {
    Engine& engine = Start();
    const int x[] = {400, 250, 550, 200, 400, 600, 100, 300, 500, 700};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(engine.vars.S(80 + i), x[i]) << i;
        EXPECT_EQ(engine.vars.S(90 + i), 0) << i;
    }
}

TEST_F(SceneTest, CharacterListsKeepDropAndCountPositionsAsScriptsWriteThem) {
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    // A trailing comma counts one more position: the left of a pair.
    EXPECT_EQ(gfx.SetCharacters("b001,"), 1);
    EXPECT_EQ(gfx.Characters.CharacterCount, 2);
    EXPECT_STREQ(gfx.Scene.CharacterDescription, "B001,");
    // "-" keeps a name; a last item that begins with a digit is the transition.
    EXPECT_EQ(gfx.SetCharacters("-:B002:4"), 4);
    EXPECT_EQ(gfx.Characters.CharacterCount, 2);
    EXPECT_STREQ(gfx.Scene.CharacterDescription, "B001,B002");
    EXPECT_EQ(gfx.SetCharacters(",B002"), 1);
    EXPECT_EQ(gfx.Characters.CharacterCount, 2);
    EXPECT_STREQ(gfx.Scene.CharacterDescription, ",B002");
    // Five names are kept, four drawn.
    EXPECT_EQ(gfx.SetCharacters("B1:B2:B3:B4:B5"), 1);
    EXPECT_EQ(gfx.Characters.CharacterCount, 4);
    EXPECT_EQ(gfx.Characters.Name(4), "B5");
    EXPECT_STREQ(gfx.Scene.CharacterDescription, "B1,B2,B3,B4");
    // Nothing to draw.
    EXPECT_EQ(gfx.SetCharacters(""), 0);
    EXPECT_EQ(gfx.Characters.CharacterCount, 0);
    EXPECT_STREQ(gfx.Scene.CharacterDescription, "");
    EXPECT_EQ(gfx.SetCharacters("7"), 7);
    EXPECT_EQ(gfx.Characters.CharacterCount, 0);
}

TEST_F(SceneTest, SceneNamesAreCutToTheirSaveFieldsWithoutSplittingACharacter) {
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    std::string name = std::string(20, 'B');
    gfx.SetCharacters(name + ":" + name + ":" + name + ":" + name);
    EXPECT_EQ(std::string(gfx.Scene.CharacterDescription),
              name + "," + name + "," + std::string(17, 'B'));
    // 28 bytes and a double-byte character would make 30: the character stays out.
    std::string background = "A" + std::string(27, '0') + "\x82\xA0" + " 0";
    gfx.PictureCommand(background, false);
    EXPECT_EQ(std::string(gfx.Scene.BackgroundName), "A" + std::string(27, '0'));
    gfx.OverlayCommand(std::string(40, 'O') + ",0");
    EXPECT_EQ(std::string(gfx.Scene.OverlayName), std::string(29, 'O'));
}

TEST_F(SceneTest, TheCharacterChangeCountSkipsSkipModeAndAutoLevelOne) {
    Engine& engine = Start();
    int32_t before = engine.globals.CharacterChangeCount;
    engine.gfx.SetCharacters("B001");
    EXPECT_EQ(engine.globals.CharacterChangeCount, before + 1);
    engine.SkipActive = 1;
    engine.gfx.SetCharacters("B001");
    engine.SkipActive = 0;
    engine.vars.S(26) = 1;
    engine.gfx.SetCharacters("B001");
    EXPECT_EQ(engine.globals.CharacterChangeCount, before + 1);
    engine.vars.S(26) = 2;
    engine.gfx.SetCharacters("B001");
    EXPECT_EQ(engine.globals.CharacterChangeCount, before + 2);
}

TEST_F(SceneTest, AMissingCharacterPictureDrawsNothingRatherThanTheEntryItReplaced) {
    for (int i = 1; i <= 5; ++i) {
        AddCharacter("B00" + std::to_string(i), kRed);
    }
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    gfx.BackgroundSurface.Fill(kBlue);
    for (int i = 1; i <= 5; ++i) {
        gfx.SetCharacters("B00" + std::to_string(i));
    }
    gfx.ComposeScene();
    EXPECT_EQ(Scene(400, 300), kShownRed);
    // B009 is in no archive; it takes entry 0, which held B001.
    gfx.SetCharacters("B009");
    EXPECT_EQ(gfx.Characters.Cache.Entry(0).Name, "B009");
    gfx.ComposeScene();
    EXPECT_EQ(Scene(400, 300), kBlue);
}

TEST_F(SceneTest, SideBySideCharacterPicturesAreSplitIntoPictureAndMask) {
    Surface picture(40, kScreenHeight);
    picture.Fill(kRed);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 20; x < 40; ++x) {
            picture.SetPixel(x, y, y < 300 ? kWhite : 0x000000);
        }
    }
    AddPicture("B001", picture);
    m_config = {"TACHI_TYPE:1"};
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    gfx.BackgroundSurface.Fill(kBlue);
    gfx.SetCharacters("B001");
    gfx.ComposeScene();
    EXPECT_EQ(gfx.Characters.Cache.Entry(0).Picture.Width(), 20);
    EXPECT_EQ(Scene(390, 100), kShownRed);
    EXPECT_EQ(Scene(409, 100), kShownRed);
    EXPECT_EQ(Scene(410, 100), kBlue);
    // Its mask's lower half is black: the background shows there.
    EXPECT_EQ(Scene(400, 400), kBlue);
}

TEST_F(SceneTest, ACompositeWhosePartsTakeAPositionsCacheEntryLeavesThatPositionIntact) {
    for (const char* name : {"B001", "B002", "B003", "B004", "B006"}) {
        AddCharacter(name, kRed);
    }
    AddCharacter("B007", kGreen);
    AddCharacter("B008", kGreen);
    m_sprset = {":K01", "B006", "B007", "B008,30,5", ":END"};
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    gfx.BackgroundSurface.Fill(kBlue);
    gfx.SetCharacters("B001:B002:B003:B004");
    gfx.SetCharacters("B001:#K01:B003");
    // Drawn 0, 2, then the composite at 1: its base parts B006 and B007 go through the
    // cache, the second into the entry that held B001.
    gfx.ComposeScene();
    EXPECT_EQ(gfx.Characters.Cache.Entry(0).Name, "B007");
    EXPECT_EQ(Scene(200, 300), kShownRed);
    EXPECT_EQ(Scene(600, 300), kShownRed);
    // Both base pictures at 400 - 10, the last one over the first; the offset picture lies
    // 30 pixels to the right of their left edge and 5 rows down, not cached.
    EXPECT_EQ(Scene(395, 300), kShownGreen);
    EXPECT_EQ(Scene(425, 4), kBlue);
    EXPECT_EQ(Scene(425, 5), kShownGreen);
    EXPECT_EQ(gfx.Characters.Cache.Find("B008"), -1);
    // The next composition still shows B001 at position 0.
    gfx.ComposeScene();
    EXPECT_EQ(Scene(200, 300), kShownRed);
}

TEST_F(SceneTest, TheOverlayIsLeftOutInPageReviewAndAWeightedOneIsClippedAtTheTopLeft) {
    AddPicture("OV02", 100, 100, kWhite);
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    gfx.BackgroundSurface.Fill(0x000000);
    engine.vars.S(20) = 1;
    engine.vars.S(23) = 256;
    gfx.OverlayCommand("OV02,0,-50,-60");
    EXPECT_EQ(engine.vars.S(35), 1);
    gfx.ComposeScene();
    EXPECT_EQ(Scene(0, 0), kWhite);
    EXPECT_EQ(Scene(47, 39), kWhite);
    EXPECT_EQ(Scene(50, 40), 0x000000u);
    EXPECT_EQ(Scene(0, 40), 0x000000u);
    engine.screens.Open(engine.screens.pageReview);
    gfx.ComposeScene();
    EXPECT_EQ(Scene(0, 0), 0x000000u);
}

TEST_F(SceneTest, ShowSceneWithTransitionZeroPresentsNothing) {
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    gfx.BackgroundSurface.Fill(kBlue);
    int presents = m_platform.Presents;
    gfx.ShowScene(0);
    EXPECT_EQ(m_platform.Presents, presents);
    EXPECT_EQ(gfx.BackBuffer.Pixel(0, 0), 0x000000u);
    gfx.BackBuffer.Fill(kGreen);
    engine.vars.S(16) = 7;
    // Fast graphics: the transition is the one copy of the new screen.
    engine.settings.GMode = true;
    gfx.ShowScene(-1);
    EXPECT_EQ(m_platform.Presents, presents + 1);
    EXPECT_EQ(Shown(0, 0), kBlue);
    EXPECT_EQ(gfx.PreviousSurface.Pixel(0, 0), kGreen);
    // A finished transition: speed used up, nothing busy, not cut short.
    EXPECT_EQ(engine.vars.S(16), 0);
    EXPECT_EQ(engine.vars.S(19), 0);
    EXPECT_FALSE(engine.blocking.Busy());
    EXPECT_FALSE(engine.blocking.InterruptibleWait());
}

TEST_F(SceneTest, FullScreenTextShowsANewBackgroundAloneBeforeThePage) {
    AddPicture("A010", kScreenWidth, kScreenHeight, kBlue);
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    engine.vars.S(160) = 1;
    engine.vars.S(9) = 1;
    // Fast graphics: every transition is one copy of the new screen, so copies count them.
    engine.settings.GMode = true;
    int presents = m_platform.Presents;
    gfx.PictureCommand("A010", false);
    EXPECT_EQ(m_platform.Presents, presents + 2);
    EXPECT_EQ(Shown(0, 0), kBlue);
    EXPECT_FALSE(gfx.Scene.BackgroundChanged);
    // The same scene again: the page comes at once.
    gfx.ShowScene(1);
    EXPECT_EQ(m_platform.Presents, presents + 3);
    engine.vars.S(9) = 2;
    gfx.ShowScene(1);
    EXPECT_EQ(m_platform.Presents, presents + 5);
    // Without full-screen text the background change does not matter.
    engine.vars.S(160) = 0;
    gfx.PictureCommand("A010", false);
    EXPECT_EQ(m_platform.Presents, presents + 6);
}

TEST_F(SceneTest, RestoreSceneLoadsTheSavedNamesWithoutShowingThem) {
    AddPicture("A010", kScreenWidth, kScreenHeight, kBlue);
    AddPicture("OV01", 8, 4, kGreen);
    AddCharacter("B001", kRed);
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    CopyName(gfx.Scene.BackgroundName, "a010");
    CopyName(gfx.Scene.OverlayName, "OV01");
    CopyName(gfx.Scene.CharacterDescription, ",B001");
    engine.vars.S(35) = 1;
    int presents = m_platform.Presents;
    gfx.RestoreScene();
    EXPECT_EQ(m_platform.Presents, presents);
    EXPECT_EQ(gfx.BackgroundSurface.Pixel(0, 0), kBlue);
    EXPECT_EQ(gfx.OverlaySurface.Width(), 8);
    EXPECT_EQ(gfx.Characters.CharacterCount, 2);
    EXPECT_STREQ(gfx.Scene.CharacterDescription, ",B001");
    gfx.ComposeScene();
    EXPECT_EQ(Scene(550, 300), kShownRed);
}

TEST_F(SceneTest, AClickEndsACharacterMoveAtItsTargetAndSetsS019) {
    AddCharacter("B001", kRed);
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    gfx.BackgroundSurface.Fill(kBlue);
    m_platform.ClickAtPump = m_platform.Pumps + 3;
    uint64_t start = m_platform.Now;
    // Without the click this move would take a million frames of 30 ms.
    gfx.MoveCharacters("B001,100,40,1000000");
    EXPECT_EQ(engine.vars.S(80), 100);
    EXPECT_EQ(engine.vars.S(90), 40);
    EXPECT_EQ(engine.vars.S(19), 1);
    EXPECT_EQ(engine.blocking.InterruptRequest, 0);
    EXPECT_FALSE(engine.blocking.Busy());
    EXPECT_FALSE(engine.blocking.InterruptibleWait());
    EXPECT_LT(m_platform.Now - start, 200u);
    EXPECT_EQ(Shown(100, 40), kShownRed);
    EXPECT_EQ(gfx.BackBuffer.Pixel(100, 40), kShownRed);
    // Uncut, the next move runs its frames and leaves S019 at 0.
    start = m_platform.Now;
    gfx.MoveCharacters("B001,300,0,10");
    EXPECT_EQ(engine.vars.S(80), 300);
    EXPECT_EQ(engine.vars.S(19), 0);
    EXPECT_GE(m_platform.Now - start, 270u);
}

TEST_F(SceneTest, CharacterMovesGoFrameByFrameOnTheFrameClock) {
    AddCharacter("B001", kRed);
    Engine& engine = Start();
    engine.gfx.BackgroundSurface.Fill(kBlue);
    // Frame t shows start + distance * t / frames, then waits 30 ms and pumps messages.
    std::vector<int32_t> shown;
    std::vector<uint64_t> times;
    m_platform.OnPump = [&] {
        shown.push_back(engine.vars.S(80));
        times.push_back(m_platform.Now);
        EXPECT_EQ(Shown(engine.vars.S(80), 0), kShownRed);
    };
    engine.vars.S(80) = 10;
    uint64_t start = m_platform.Now;
    engine.gfx.MoveCharacters("B001,100,0,3");
    m_platform.OnPump = nullptr;
    EXPECT_EQ(shown, (std::vector<int32_t>{10, 40, 70}));
    EXPECT_EQ(times, (std::vector<uint64_t>{start, start + 30, start + 60}));
    EXPECT_EQ(engine.vars.S(80), 100);
    EXPECT_EQ(Shown(100, 0), kShownRed);
    EXPECT_EQ(Shown(70, 0), kBlue);
    // 1 field that is not INIT, and field counts that are not groups of four, do nothing.
    engine.gfx.MoveCharacters("5");
    engine.gfx.MoveCharacters("B001,10,10");
    EXPECT_EQ(engine.vars.S(80), 100);
    engine.gfx.MoveCharacters(" init ");
    EXPECT_EQ(engine.vars.S(80), 400);
}

TEST_F(SceneTest, ThePanicScreenCoversTheGameUntilItIsHidden) {
    Surface cover(2, 2);
    cover.Fill(kGreen);
    test::WriteFile(m_dir / "PANIC.BMP", EncodeBmp(cover));
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    gfx.BackBuffer.Fill(kBlue);
    EXPECT_FALSE(engine.blocking.Busy());
    gfx.ShowPanicScreen();
    EXPECT_TRUE(gfx.PanicScreenShown());
    EXPECT_EQ(Shown(1, 1), kGreen);
    EXPECT_EQ(Shown(2, 2), 0x000000u);
    EXPECT_TRUE(engine.blocking.Busy());
    EXPECT_EQ(engine.MenusLocked, 1);
    // A second request keeps the game picture it saved.
    gfx.ShowPanicScreen();
    EXPECT_TRUE(engine.blocking.Busy());
    gfx.HidePanicScreen();
    EXPECT_FALSE(gfx.PanicScreenShown());
    EXPECT_EQ(Shown(1, 1), kBlue);
    EXPECT_EQ(gfx.BackBuffer.Pixel(1, 1), kBlue);
    EXPECT_FALSE(engine.blocking.Busy());
    EXPECT_EQ(engine.MenusLocked, 0);
    gfx.HidePanicScreen();
    EXPECT_FALSE(engine.blocking.Busy());
}

TEST_F(SceneTest, APanicPictureThatCannotBeReadShowsBlack) {
    test::WriteFile(m_dir / "panic.bmp", std::string_view("BM not a bitmap"));
    Engine& engine = Start();
    engine.gfx.BackBuffer.Fill(kBlue);
    engine.gfx.ShowPanicScreen();
    EXPECT_EQ(Shown(400, 300), 0x000000u);
    engine.gfx.HidePanicScreen();
    EXPECT_EQ(Shown(400, 300), kBlue);
}

TEST_F(SceneTest, ScriptValuesFarOffTheScreenDrawNothingThere) {
    AddCharacter("B001", kRed);
    AddPicture("OV01", 40, 10, kWhite);
    AddPicture("P001", 10, 10, kGreen);
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    gfx.BackgroundSurface.Fill(kBlue);
    const std::string extremes[] = {"2147483647", "-2147483648", "-99999", "0"};
    for (const std::string& a : extremes) {
        for (const std::string& b : extremes) {
            engine.vars.S(80) = engine.vars.S(90) = static_cast<int32_t>(std::stoll(a));
            engine.vars.S(23) = static_cast<int32_t>(std::stoll(b));
            engine.vars.S(20) = 1;
            gfx.OverlayCommand("OV01,1," + a + "," + b);
            gfx.CharacterCommand("B001");
            gfx.MoveCharacters("B001," + a + "," + b + ",3");
            gfx.PartsLoad("P001");
            gfx.PartsSet(a + "," + b + "," + b + "," + a + "," + a + "," + b);
            gfx.DirectPicture("P001,0," + a + "," + b);
        }
    }
    EXPECT_FALSE(engine.blocking.Busy());
    EXPECT_EQ(engine.ScriptRunning, 1);
}

} // namespace
} // namespace orv
