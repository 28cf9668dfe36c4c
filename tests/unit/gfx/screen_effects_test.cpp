// The screen effects through the engine: the shakes, the sepia fade, the manga symbol and the
// scrolling picture, with the script's numbers at their extremes.
#include "gfx/effects_fixture.h"
#include "script/commands.h"

#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace orv {
namespace {

using test::PositionColour;
using test::PositionOf;
using test::PositionPicture;
using test::SamePixels;

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kShownRed = 0x0000FE; // through an opaque mask
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

// A displacement or a place, as x and y.
using XY = std::pair<int, int>;
XY PlaceOf(uint32_t colour) {
    Point p = PositionOf(colour);
    return {p.X, p.Y};
}

class ScreenEffectsTest : public test::EffectsTest {
protected:
    // Starts the engine with BackBuffer telling every pixel's place, and records by how much
    // each whole-screen copy of WorkSurface (a DrawShifted) moved it.
    Engine& StartShaking() {
        Engine& engine = Start();
        engine.gfx.BackBuffer.CopyFrom(PositionPicture(kScreenWidth, kScreenHeight),
                                       Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        m_platform.OnPresent = [this](const Surface& source, Rect, int, int) {
            if (&source == &m_engine->gfx.WorkSurface) {
                XY from = PlaceOf(Shown(400, 300));
                Offsets.push_back(XY{400 - from.first, 300 - from.second});
                Times.push_back(m_platform.Now);
            }
        };
        return engine;
    }

    StepResult RunCommand(std::string_view line) {
        int index = FindCommand(line.substr(1));
        EXPECT_GE(index, 0) << line;
        const Command& command = CommandTable()[static_cast<size_t>(index)];
        CommandArgs args{line, line.size() > static_cast<size_t>(command.ArgumentOffset)
                                   ? line.substr(static_cast<size_t>(command.ArgumentOffset))
                                   : std::string_view{}};
        return command.Handler(*m_engine, args);
    }

    std::vector<XY> Offsets;
    std::vector<uint64_t> Times;
};

TEST_F(ScreenEffectsTest, ShakesAlternateBySecondBitAndEndWhereTheyStarted) {
    Engine& engine = StartShaking();
    struct Case {
        std::string Argument;
        uint64_t Lag;
        std::vector<XY> Offsets;
    };
    const Case cases[] = {
        {"0,10,50", 0, {{0, 10}, {0, -8}, {0, 6}, {0, -4}, {0, 2}, {0, 0}}},
        // Amplitude 20 by default: bit 1 of 20 is clear, so the first move is up.
        {"0",
         0,
         {{0, -20},
          {0, 18},
          {0, -16},
          {0, 14},
          {0, -12},
          {0, 10},
          {0, -8},
          {0, 6},
          {0, -4},
          {0, 2},
          {0, 0}}},
        {"1,6", 0, {{6, 0}, {-4, 0}, {2, 0}, {0, 0}}},
        // A frame late each time: every other amplitude is skipped.
        {"0,10,50", 50, {{0, 10}, {0, 6}, {0, 2}, {0, 0}}},
        // Commas within the first 43 bytes are seen, later ones are not.
        {"1" + std::string(41, ' ') + ",8", 0, {{-8, 0}, {6, 0}, {-4, 0}, {2, 0}, {0, 0}}},
        {"1" + std::string(42, ' ') + ",8",
         0,
         {{-20, 0},
          {18, 0},
          {-16, 0},
          {14, 0},
          {-12, 0},
          {10, 0},
          {-8, 0},
          {6, 0},
          {-4, 0},
          {2, 0},
          {0, 0}}},
    };
    for (const Case& c : cases) {
        Offsets.clear();
        m_platform.Lag = c.Lag;
        engine.gfx.ShakeScreen(c.Argument);
        EXPECT_EQ(Offsets, c.Offsets) << c.Argument;
    }
    EXPECT_EQ(m_platform.OutsideCopies, 0);
    EXPECT_FALSE(engine.blocking.Busy());
}

TEST_F(ScreenEffectsTest, TheRandomShakeMovesTheWholeAmplitudeInOneOfEightDirections) {
    Engine& engine = StartShaking();
    engine.gfx.ShakeScreen("2,8,10");
    ASSERT_EQ(Offsets.size(), 5u);
    for (size_t i = 0; i < 4; ++i) {
        int d = 8 - 2 * static_cast<int>(i);
        auto [x, y] = Offsets[i];
        EXPECT_TRUE((std::abs(x) == d || x == 0) && (std::abs(y) == d || y == 0) &&
                    !(x == 0 && y == 0))
            << i << ": " << x << "," << y;
    }
    EXPECT_EQ(Offsets.back(), (XY{0, 0}));
}

TEST_F(ScreenEffectsTest, OtherShakeTypesOnlyWaitAndHugeOnesStayOnTheScreen) {
    Engine& engine = StartShaking();
    uint64_t start = m_platform.Now;
    engine.gfx.ShakeScreen("5");
    EXPECT_EQ(m_platform.Now - start, 10u * 50);
    EXPECT_EQ(Offsets, (std::vector<XY>{{0, 0}}));
    // Far past the screen: all black, nothing copied from outside a surface. The late clock
    // keeps the frame count small.
    m_platform.Lag = 100;
    m_platform.OnPresent = [&](const Surface& source, Rect, int, int) {
        if (&source == &engine.gfx.WorkSurface && m_platform.PB.Pixel(400, 300) == 0) {
            Offsets.push_back(XY{});
        }
    };
    Offsets.clear();
    engine.gfx.ShakeScreen("1,20000,0");
    engine.gfx.ShakeScreen("2,1700,1");
    EXPECT_GT(Offsets.size(), 4u);
    engine.gfx.DrawShifted(kIntMax, kIntMin);
    EXPECT_EQ(Shown(0, 0), 0u);
    EXPECT_EQ(Shown(799, 599), 0u);
    EXPECT_EQ(m_platform.OutsideCopies, 0);
}

TEST_F(ScreenEffectsTest, DrawShiftedPaintsTheUncoveredStripsBlack) {
    Engine& engine = StartShaking();
    engine.gfx.DrawShifted(-30, 40);
    EXPECT_EQ(Shown(0, 40), PositionColour(30, 0));
    EXPECT_EQ(Shown(769, 599), PositionColour(799, 559));
    EXPECT_EQ(Shown(770, 300), 0u);
    EXPECT_EQ(Shown(100, 39), 0u);
}

TEST_F(ScreenEffectsTest, ClosingTheWindowEndsAShakeAndTheCommandAsks) {
    Engine& engine = StartShaking();
    m_platform.CloseAt = m_platform.Now + 120;
    m_platform.Answers.push_back(MessageBoxResult::Cancel);
    uint64_t start = m_platform.Now;
    // Twenty frames of 50 ms without the close; the pump at 150 ms sees it.
    RunCommand("*shake 0,40,50");
    EXPECT_LE(m_platform.Now - start, 200u);
    EXPECT_EQ(Offsets.back(), (XY{0, 0}));
    EXPECT_EQ(m_platform.Boxes.size(), 1u);
    EXPECT_EQ(engine.blocking.InterruptRequest, 0);
    EXPECT_EQ(engine.QuitRequested, 0);
    // A click does not cut a shake short.
    m_platform.ClickAt = m_platform.Now + 60;
    start = m_platform.Now;
    engine.gfx.ShakeScreen("0,10,50");
    EXPECT_EQ(m_platform.Now - start, 250u);
}

TEST_F(ScreenEffectsTest, TheWindowShakeShakesThePictureWhereTheWindowCannotMove) {
    Engine& engine = StartShaking();
    int moves = m_platform.WindowMoves;
    Rect home = m_platform.Window;
    RunCommand("*special 1");
    EXPECT_EQ(m_platform.WindowMoves - moves, 11);
    EXPECT_EQ(m_platform.Window.Y, home.Y);
    EXPECT_TRUE(Offsets.empty());
    // Wayland, and full screen: the picture inside PB, 20 pixels down and up.
    for (bool fullScreen : {false, true}) {
        m_platform.WindowMoves = 0;
        m_platform.WindowMovable = fullScreen;
        engine.FullScreenActive = fullScreen ? 1 : 0;
        Offsets.clear();
        RunCommand("*special 1");
        EXPECT_EQ(m_platform.WindowMoves, 0);
        ASSERT_EQ(Offsets.size(), 11u);
        EXPECT_EQ(Offsets[0], (XY{0, -20}));
        EXPECT_EQ(Offsets[1], (XY{0, 20}));
        EXPECT_EQ(Offsets.back(), (XY{0, 0}));
    }
}

TEST_F(ScreenEffectsTest, SepiaFadesInFromWhatTheScreenShowed) {
    Engine& engine = Start();
    Graphics& gfx = engine.gfx;
    gfx.SceneSurface.Fill(0x306090);
    gfx.FillPaintBox(kWhite);
    m_platform.CaptureAt = m_platform.Now;
    uint64_t start = m_platform.Now;
    gfx.SepiaEffect();
    // g = (0x30 + 0x60 + 0x90) / 3 = 0x60: blue g / 4, green 3g / 4, red g.
    constexpr uint32_t kSepia = 0x184860;
    EXPECT_EQ(gfx.SceneSurface.Pixel(10, 10), kSepia);
    EXPECT_EQ(gfx.BackBuffer.Pixel(10, 10), kSepia);
    EXPECT_TRUE(SamePixels(m_platform.PB, gfx.BackBuffer));
    // The first frame has weight 48 of the sepia scene over the white screen.
    auto mix = [](uint32_t sepia) { return (sepia * 48 + 255 * 208) >> 8; };
    EXPECT_EQ(m_platform.Captured.Pixel(10, 10), mix(0x18) << 16 | mix(0x48) << 8 | mix(0x60));
    // Weights 48, 56, ... 248: 26 frames of 20 ms.
    EXPECT_EQ(m_platform.Now - start, 26u * 20);
    EXPECT_FALSE(engine.blocking.Busy());
}

// ---- The manga symbol.

class MangaSymbolTest : public ScreenEffectsTest {
protected:
    Engine& StartWithSymbol() {
        // 10 x 10 of red beside its opaque mask.
        Surface symbol(20, 10);
        symbol.Fill(kWhite);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) {
                symbol.SetPixel(x, y, kRed);
            }
        }
        AddPicture("SYM1", symbol);
        Engine& engine = Start();
        engine.gfx.SceneSurface.Fill(kBlue);
        engine.gfx.BackBuffer.Fill(kBlue);
        engine.gfx.PresentWhole(engine.gfx.BackBuffer);
        return engine;
    }
    void TickTo(Engine& engine, int32_t counter) {
        while (engine.TickCounter < counter) {
            engine.Timer1Timer();
        }
    }
};

TEST_F(MangaSymbolTest, ModeTwoBlinksEveryFourTicksUntilTheNextPresentation) {
    Engine& engine = StartWithSymbol();
    engine.TickCounter = 0;
    engine.gfx.ShowMangaSymbol("sym1,2,100,50");
    EXPECT_EQ(engine.vars.S(32), 100);
    EXPECT_EQ(engine.vars.S(33), 50);
    EXPECT_EQ(Shown(105, 55), kShownRed);
    EXPECT_EQ(Shown(110, 55), kBlue);
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(105, 55), kBlue);
    TickTo(engine, 3);
    EXPECT_EQ(Shown(105, 55), kShownRed);
    TickTo(engine, 4); // bit 2 set: shown
    EXPECT_EQ(Shown(105, 55), kShownRed);
    TickTo(engine, 8); // hidden
    EXPECT_EQ(Shown(105, 55), kBlue);
    TickTo(engine, 12);
    EXPECT_EQ(Shown(105, 55), kShownRed);
    // The next presentation takes it away for good.
    engine.gfx.PresentFrame();
    EXPECT_FALSE(engine.gfx.MangaSymbolShown());
    EXPECT_EQ(Shown(105, 55), kBlue);
    TickTo(engine, 20);
    EXPECT_EQ(Shown(105, 55), kBlue);
}

TEST_F(MangaSymbolTest, ModeOneIsPartOfTheScreenAndKeepsTheLastModeAndPlace) {
    Engine& engine = StartWithSymbol();
    engine.gfx.ShowMangaSymbol("SYM1,1,0,0");
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(5, 5), kShownRed);
    TickTo(engine, engine.TickCounter + 8);
    EXPECT_EQ(Shown(5, 5), kShownRed);
    // The mode and the place stay from the last symbol that gave them.
    engine.gfx.ShowMangaSymbol("SYM1");
    EXPECT_EQ(Shown(5, 5), kShownRed);
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(5, 5), kShownRed);
}

TEST_F(MangaSymbolTest, SymbolsAtTheEdgesAndBeyondAreClipped) {
    Engine& engine = StartWithSymbol();
    engine.gfx.ShowMangaSymbol("SYM1,2,-5,595");
    EXPECT_EQ(Shown(0, 599), kShownRed);
    engine.gfx.ShowMangaSymbol("SYM1,1,795,-5");
    EXPECT_EQ(Shown(799, 0), kShownRed);
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(799, 4), kShownRed);
    engine.gfx.ShowMangaSymbol("SYM1,2,2147483647,-2147483648");
    TickTo(engine, engine.TickCounter + 8);
    engine.gfx.RemoveMangaSymbol();
    EXPECT_EQ(m_platform.OutsideCopies, 0);
}

TEST_F(MangaSymbolTest, AMissingPictureShowsNothingWhenNoneWasLoadedBefore) {
    Engine& engine = StartWithSymbol();
    int presents = m_platform.Presents;
    engine.gfx.ShowMangaSymbol("NOPE,2,10,10");
    EXPECT_FALSE(engine.gfx.MangaSymbolShown());
    EXPECT_EQ(m_platform.Presents, presents);
}

// ---- The scrolling picture.

class ScrollTest : public ScreenEffectsTest {
protected:
    Engine& StartWithPictures() {
        AddPicture("P_BIG", PositionPicture(1000, 800));
        AddPicture("P_SMALL", PositionPicture(400, 300));
        Engine& engine = Start();
        engine.gfx.BackBuffer.Fill(kWhite);
        engine.gfx.PresentWhole(engine.gfx.BackBuffer);
        return engine;
    }
};

TEST_F(ScrollTest, EveryDirectionSlidesTheViewAcrossThePicture) {
    Engine& engine = StartWithPictures();
    struct Case {
        int Direction;
        XY Start;
        XY End;
    };
    const Case cases[] = {{0, {0, 200}, {0, 0}}, {1, {0, 0}, {200, 0}}, {2, {0, 0}, {0, 200}},
                          {3, {200, 0}, {0, 0}}, {4, {0, 0}, {0, 0}},   {-1, {0, 0}, {0, 0}}};
    for (const Case& c : cases) {
        std::vector<XY> views;
        m_platform.OnPump = [&] {
            EXPECT_EQ(engine.screens.Mode(), 7);
            EXPECT_EQ(engine.MenusLocked, 1);
            views.push_back(PlaceOf(Shown(0, 0)));
        };
        uint64_t start = m_platform.Now;
        engine.gfx.ScrollPicture("P_BIG," + std::to_string(c.Direction) + ",2,4");
        m_platform.OnPump = nullptr;
        bool moves = c.Start != c.End;
        EXPECT_EQ(m_platform.Now - start, moves ? 400u : 0u) << c.Direction;
        if (moves) {
            ASSERT_FALSE(views.empty()) << c.Direction;
            EXPECT_EQ(views.front(), c.Start) << c.Direction;
        }
        EXPECT_EQ(PlaceOf(engine.gfx.BackBuffer.Pixel(0, 0)), c.End) << c.Direction;
        EXPECT_TRUE(SamePixels(m_platform.PB, engine.gfx.BackBuffer)) << c.Direction;
        EXPECT_EQ(engine.screens.Mode(), 0);
        EXPECT_EQ(engine.MenusLocked, 0);
        EXPECT_FALSE(engine.blocking.Busy());
    }
    EXPECT_EQ(m_platform.OutsideCopies, 0);
}

TEST_F(ScrollTest, AFrameInTheMiddleShowsTheViewAtOnePixelAFrame) {
    Engine& engine = StartWithPictures();
    m_platform.CaptureAt = m_platform.Now + 100;
    engine.gfx.ScrollPicture("P_BIG 2 2 4");
    EXPECT_EQ(PlaceOf(m_platform.Captured.Pixel(0, 0)), (XY{0, 50}));
    EXPECT_EQ(PlaceOf(m_platform.Captured.Pixel(799, 599)), (XY{799, 649}));
}

TEST_F(ScrollTest, APictureSmallerThanTheScreenOnlyRunsTheTransition) {
    Engine& engine = StartWithPictures();
    for (int direction = 0; direction < 4; ++direction) {
        uint64_t start = m_platform.Now;
        engine.gfx.ScrollPicture("P_SMALL," + std::to_string(direction) + ",5,4");
        EXPECT_EQ(m_platform.Now - start, 0u);
        EXPECT_EQ(Shown(0, 0), PositionColour(0, 0));
        EXPECT_EQ(Shown(399, 299), PositionColour(399, 299));
        EXPECT_EQ(Shown(400, 300), 0u);
        EXPECT_EQ(Shown(799, 599), 0u);
    }
    EXPECT_EQ(m_platform.OutsideCopies, 0);
}

TEST_F(ScrollTest, AClickEndsTheScrollAtItsLastViewAndAMissingPictureDoesNothing) {
    Engine& engine = StartWithPictures();
    m_platform.ClickAt = m_platform.Now + 50;
    uint64_t start = m_platform.Now;
    engine.gfx.ScrollPicture("P_BIG,1,2,4");
    EXPECT_LT(m_platform.Now - start, 60u);
    EXPECT_EQ(PlaceOf(Shown(0, 0)), (XY{200, 0}));
    EXPECT_EQ(engine.blocking.InterruptRequest, 0);
    int presents = m_platform.Presents;
    engine.gfx.ScrollPicture("NOPE,1,2,4");
    EXPECT_EQ(m_platform.Presents, presents);
    EXPECT_EQ(engine.MenusLocked, 0);
    EXPECT_EQ(engine.screens.Mode(), 0);
}

} // namespace
} // namespace orv
