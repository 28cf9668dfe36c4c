// RunTransition through the engine on a virtual clock: every pattern's end, a late frame
// clock, frames caught in the middle, the timed forms, clicks and close requests.
#include "gfx/effects_fixture.h"

#include <cstdlib>
#include <limits>
#include <memory>
#include <tuple>

namespace orv {
namespace {

using test::PositionColour;
using test::PositionOf;
using test::SamePixels;

constexpr uint32_t kNewMark = 0x000800; // a green bit no position colour uses

Surface OldScreen() {
    return test::PositionPicture(kScreenWidth, kScreenHeight);
}

// The new screen tells its positions too, and carries the mark.
Surface NewScreen() {
    Surface fresh(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            fresh.SetPixel(x, y, PositionColour(x, y) | kNewMark);
        }
    }
    return fresh;
}

// Where a shown pixel came from: which screen, and which place of it.
struct Origin {
    bool New;
    Point At;
};
Origin OriginOf(uint32_t colour) {
    return Origin{(colour & kNewMark) != 0, PositionOf(colour & ~kNewMark)};
}

class TransitionTest : public test::EffectsTest {
protected:
    Engine& StartWithScreens() {
        Engine& engine = Start();
        PrepareScreens(OldScreen(), NewScreen());
        // A mask that brightens from left to right, for the wipe.
        Graphics& gfx = engine.gfx;
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                uint32_t m = static_cast<uint32_t>(x * 255 / (kScreenWidth - 1));
                gfx.WipeMaskSurface.SetPixel(x, y, m << 16 | m << 8 | m);
            }
        }
        return engine;
    }

    // Runs pattern n and returns the virtual ms it took.
    uint64_t Run(int32_t n) {
        uint64_t start = m_platform.Now;
        m_engine->gfx.RunTransition(n);
        return m_platform.Now - start;
    }

    bool ShowsNewScreen() const { return SamePixels(m_platform.PB, m_engine->gfx.BackBuffer); }
};

// ---- Every pattern, on time and on a clock that is 7 of its intervals late at every pump.

// Whether a pattern's own last step already shows the whole new screen (before the closing
// copy that every pattern ends with).
enum class OwnEnd { Never, OnTime, Always };

struct PatternCase {
    int32_t Pattern;
    int32_t IntervalMs; // what its frames wait at speed 0
    OwnEnd DrawsItsEnd;
};

constexpr PatternCase kPatterns[] = {
    {1, 10, OwnEnd::Always}, {2, 15, OwnEnd::Always},  {3, 8, OwnEnd::Always},
    {4, 20, OwnEnd::Never},  {5, 8, OwnEnd::Never},    {6, 20, OwnEnd::Always},
    {7, 20, OwnEnd::Always}, {8, 20, OwnEnd::OnTime},  {9, 10, OwnEnd::Always},
    {10, 6, OwnEnd::Always}, {11, 20, OwnEnd::Always}, {12, 60, OwnEnd::Never},
    {13, 20, OwnEnd::Never}, {14, 20, OwnEnd::Always}, {15, 20, OwnEnd::Always},
    {16, 20, OwnEnd::Never}, {17, 40, OwnEnd::Always}, {18, 40, OwnEnd::Never},
    {19, 20, OwnEnd::Never}, {20, 20, OwnEnd::Never},  {21, 20, OwnEnd::Never},
    {22, 20, OwnEnd::Never},
};

void PrintTo(const PatternCase& c, std::ostream* out) {
    *out << "pattern " << c.Pattern;
}

class EveryPattern : public TransitionTest,
                     public testing::WithParamInterface<std::tuple<PatternCase, bool>> {};

TEST_P(EveryPattern, EndsShowingTheNewScreenAndCopiesNothingFromOutsideASurface) {
    auto [pattern, late] = GetParam();
    Engine& engine = StartWithScreens();
    Graphics& gfx = engine.gfx;
    m_platform.Lag = late ? 7 * static_cast<uint64_t>(pattern.IntervalMs) : 0;
    // What PB showed before the closing copy of the whole new screen.
    Surface beforeClosingCopy(kScreenWidth, kScreenHeight);
    m_platform.OnPresent = [&](const Surface& source, Rect from, int, int) {
        if (&source == &gfx.BackBuffer && from.Width == kScreenWidth &&
            from.Height == kScreenHeight) {
            return;
        }
        beforeClosingCopy.CopyFrom(m_platform.PB, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    };
    int presents = m_platform.Presents;
    Run(pattern.Pattern);
    m_platform.OnPresent = nullptr;
    EXPECT_GT(m_platform.Presents, presents);
    EXPECT_TRUE(ShowsNewScreen());
    EXPECT_TRUE(SamePixels(gfx.PaintBoxCopy(), gfx.BackBuffer));
    EXPECT_EQ(m_platform.OutsideCopies, 0);
    if (pattern.DrawsItsEnd == OwnEnd::Always || (pattern.DrawsItsEnd == OwnEnd::OnTime && !late)) {
        EXPECT_TRUE(SamePixels(beforeClosingCopy, gfx.BackBuffer))
            << "the last step falls short of the new screen";
    }
    EXPECT_EQ(engine.vars.S(19), 0);
    EXPECT_FALSE(engine.blocking.Busy());
    EXPECT_FALSE(engine.blocking.InterruptibleWait());
}

INSTANTIATE_TEST_SUITE_P(Patterns, EveryPattern,
                         testing::Combine(testing::ValuesIn(kPatterns), testing::Bool()),
                         [](const auto& info) {
                             return "Pattern" + std::to_string(std::get<0>(info.param).Pattern) +
                                    (std::get<1>(info.param) ? "Late" : "OnTime");
                         });

TEST_F(TransitionTest, ALateClockSkipsFramesButKeepsTheDuration) {
    StartWithScreens();
    for (int32_t pattern : {1, 8, 19, 21}) {
        PrepareScreens(OldScreen(), NewScreen());
        m_platform.Lag = 0;
        int presents = m_platform.Presents;
        uint64_t onTime = Run(pattern);
        int onTimeCopies = m_platform.Presents - presents;
        PrepareScreens(OldScreen(), NewScreen());
        m_platform.Lag = 140;
        presents = m_platform.Presents;
        uint64_t late = Run(pattern);
        EXPECT_LT(m_platform.Presents - presents, onTimeCopies) << pattern;
        EXPECT_LE(late, onTime + 2 * 140 + 20) << pattern;
        EXPECT_GE(late + 20, onTime) << pattern;
    }
}

// With nobody watching PB (auto play), a cross-fade blends only the frame it ends on: its
// duration, its presents of the new screen and every surface it leaves are as when it draws
// every frame.
TEST_F(TransitionTest, UnwatchedCrossFadesDrawOnlyTheirLastFrameAndEndTheSame) {
    Engine& engine = StartWithScreens();
    Graphics& gfx = engine.gfx;
    for (int32_t n : {1, 2, 3, 400}) {
        struct Outcome {
            uint64_t Ms;
            int Presents;
            Surface Work, Shown;
        };
        auto run = [&](bool watched) {
            PrepareScreens(OldScreen(), NewScreen());
            gfx.FramesWatched = watched;
            int presents = m_platform.Presents;
            uint64_t ms = Run(n);
            Outcome out{ms, m_platform.Presents - presents, Surface(kScreenWidth, kScreenHeight),
                        Surface(kScreenWidth, kScreenHeight)};
            out.Work.CopyFrom(gfx.WorkSurface, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
            out.Shown.CopyFrom(m_platform.PB, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
            return out;
        };
        Outcome every = run(true);
        Outcome last = run(false);
        EXPECT_EQ(last.Ms, every.Ms) << n;
        EXPECT_LT(last.Presents, every.Presents) << n;
        EXPECT_TRUE(SamePixels(last.Work, every.Work)) << n;
        EXPECT_TRUE(SamePixels(last.Shown, every.Shown)) << n;
    }
    gfx.FramesWatched = true;
}

// ---- Frames caught in the middle, at a given virtual time, against the pattern's rule.

class MiddleFrame : public TransitionTest {
protected:
    // The picture PB shows at the first pump `ms` after pattern n started.
    const Surface& FrameAt(int32_t n, uint64_t ms) {
        StartWithScreens();
        m_platform.CaptureAt = m_platform.Now + ms;
        Run(n);
        EXPECT_FALSE(m_platform.CaptureAt) << "pattern " << n << " ended before " << ms << " ms";
        return m_platform.Captured;
    }

    template <typename Rule>
    void ExpectFrame(const Surface& frame, Rule rule) {
        int wrong = 0;
        for (int y = 0; y < kScreenHeight && wrong < 5; ++y) {
            for (int x = 0; x < kScreenWidth && wrong < 5; ++x) {
                uint32_t expected = rule(x, y);
                if (frame.Pixel(x, y) != expected) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex
                                  << frame.Pixel(x, y) << ", expected " << expected;
                    ++wrong;
                }
            }
        }
    }
};

uint32_t OldAt(int x, int y) {
    return PositionColour(x, y);
}
uint32_t NewAt(int x, int y) {
    return PositionColour(x, y) | kNewMark;
}

TEST_F(MiddleFrame, CrossFadeAt50MsShowsWeight80) {
    // Pattern 1 steps 16 every 10 ms: the frame drawn at 50 ms has weight 80.
    const Surface& frame = FrameAt(1, 50);
    ExpectFrame(frame, [](int x, int y) {
        uint32_t a = OldAt(x, y), b = NewAt(x, y), out = 0;
        for (int shift : {0, 8, 16}) {
            uint32_t mixed = ((b >> shift & 0xFF) * 80 + (a >> shift & 0xFF) * 176) >> 8;
            out |= mixed << shift;
        }
        return out;
    });
}

TEST_F(MiddleFrame, BlindsAfterStep20ShowTheLeftmostPixelsOfEachColumn) {
    const Surface& frame = FrameAt(6, 21 * 20);
    ExpectFrame(frame, [](int x, int y) {
        int blind = x / 16, width = std::clamp(20 - blind + 1, 0, 16);
        return x % 16 < width ? NewAt(x, y) : OldAt(x, y);
    });
}

TEST_F(MiddleFrame, IrisAfterTwentyStepsIsADiscOfRadius195) {
    const Surface& frame = FrameAt(7, 20 * 20);
    EXPECT_TRUE(OriginOf(frame.Pixel(400, 300)).New);
    EXPECT_TRUE(OriginOf(frame.Pixel(590, 300)).New);
    EXPECT_FALSE(OriginOf(frame.Pixel(600, 300)).New);
    EXPECT_TRUE(OriginOf(frame.Pixel(400, 110)).New);
    EXPECT_FALSE(OriginOf(frame.Pixel(400, 100)).New);
    EXPECT_TRUE(OriginOf(frame.Pixel(530, 430)).New);  // 184 from the middle
    EXPECT_FALSE(OriginOf(frame.Pixel(542, 442)).New); // 201
    EXPECT_FALSE(OriginOf(frame.Pixel(0, 0)).New);
    // Every pixel comes from its own place.
    ExpectFrame(frame, [&](int x, int y) {
        return OriginOf(frame.Pixel(x, y)).New ? NewAt(x, y) : OldAt(x, y);
    });
}

TEST_F(MiddleFrame, RowsAfterThirtyStepsShowEvenRowsAboveAndOddRowsBelowTheMiddle) {
    const Surface& frame = FrameAt(9, 30 * 10);
    ExpectFrame(frame, [](int x, int y) {
        bool fresh = y < 300 ? y % 2 == 0 : y % 2 == 1;
        return fresh ? NewAt(x, y) : OldAt(x, y);
    });
}

TEST_F(MiddleFrame, SplitSlideAt80MsShowsNinetySixColumnsOfEachHalf) {
    // v = 32, 64, 96 at 0, 40, 80 ms.
    const Surface& frame = FrameAt(18, 80);
    ExpectFrame(frame, [](int x, int y) {
        if (x < 96) {
            return NewAt(400 - 96 + x, y);
        }
        if (x >= 800 - 96) {
            return NewAt(400 + x - (800 - 96), y);
        }
        return OldAt(x, y);
    });
}

TEST_F(MiddleFrame, PushAt100MsMovesTheOldScreenRightBy100) {
    const Surface& frame = FrameAt(19, 100);
    ExpectFrame(frame,
                [](int x, int y) { return x < 100 ? NewAt(700 + x, y) : OldAt(x - 100, y); });
}

// ---- Numbers, speeds and the settings that change the pattern.

TEST_F(TransitionTest, NumbersFrom128AreCrossFadesOfThatManyMilliseconds) {
    StartWithScreens();
    struct Form {
        int32_t Ms;
        int Frames;       // 257 / step, rounded up
        uint64_t Elapsed; // frames x interval
    };
    // 128: step 16 every 8 ms; 1000: 8 every 31; 6400: 1 every 25.
    for (Form form : {Form{128, 17, 136}, Form{1000, 33, 1023}, Form{6400, 257, 6425}}) {
        PrepareScreens(OldScreen(), NewScreen());
        int presents = m_platform.Presents;
        EXPECT_EQ(Run(form.Ms), form.Elapsed) << form.Ms;
        EXPECT_EQ(m_platform.Presents - presents, form.Frames + 1) << form.Ms;
        EXPECT_TRUE(ShowsNewScreen()) << form.Ms;
    }
    // 127 is a pattern number, and no pattern has it.
    PrepareScreens(OldScreen(), NewScreen());
    int presents = m_platform.Presents;
    EXPECT_EQ(Run(127), 0u);
    EXPECT_EQ(m_platform.Presents, presents);
}

TEST_F(TransitionTest, ZeroAndUnknownNumbersDrawNothingAndNegativeOnesArePattern1) {
    Engine& engine = StartWithScreens();
    int presents = m_platform.Presents;
    for (int32_t n : {0, 23, 30}) {
        engine.vars.S(16) = 5;
        EXPECT_EQ(Run(n), 0u);
        EXPECT_EQ(engine.vars.S(16), 0) << "a speed lasts one transition";
    }
    EXPECT_EQ(m_platform.Presents, presents);
    // 17 frames of 10 ms, as pattern 1.
    EXPECT_EQ(Run(-1), 170u);
    EXPECT_TRUE(ShowsNewScreen());
}

TEST_F(TransitionTest, FastGraphicsAndSkipModeShowTheNewScreenAtOnce) {
    Engine& engine = StartWithScreens();
    engine.settings.GMode = true;
    int presents = m_platform.Presents;
    EXPECT_EQ(Run(8), 0u);
    EXPECT_EQ(m_platform.Presents, presents + 1);
    EXPECT_TRUE(ShowsNewScreen());
    engine.settings.GMode = false;
    engine.SkipActive = 1;
    PrepareScreens(OldScreen(), NewScreen());
    EXPECT_EQ(Run(6400), 0u);
    EXPECT_TRUE(ShowsNewScreen());
}

TEST_F(TransitionTest, TheSpeedTableSetsStepIntervalAndFrameTimeForOneTransition) {
    Engine& engine = StartWithScreens();
    // fadein 16: step 1 every 20 ms, 257 frames.
    engine.vars.S(16) = 16;
    EXPECT_EQ(Run(3), 257u * 20);
    EXPECT_EQ(engine.vars.S(16), 0);
    // Back at speed 0: step 4 every 8 ms.
    EXPECT_EQ(Run(3), 65u * 8);
    // Outside 0..16 the row of 0; pattern 17 takes its stage count from S016 up to 128.
    engine.vars.S(16) = 40;
    EXPECT_EQ(Run(17), 40u * 4 * 40);
    EXPECT_EQ(Run(17), 16u * 4 * 40);
    engine.vars.S(16) = 200;
    EXPECT_EQ(Run(17), 16u * 4 * 40);
    EXPECT_EQ(SpeedTable(-1).FrameMs, 20);
    EXPECT_EQ(SpeedTable(16).Step, 1);
    EXPECT_EQ(SpeedTable(16).Interval, 20);
    EXPECT_EQ(SpeedTable(16).FrameMs, 140);
    EXPECT_EQ(SpeedTable(17).Step, 4);
}

// The surfaces of a pattern step outside the engine, where nothing is shown.
struct StepSurfaces {
    struct NoPaint final : PaintTarget {
        void Present(const Surface&, Rect, int, int) override {}
    };
    StepSurfaces(Surface old, Surface fresh) : Old(std::move(old)), New(std::move(fresh)) {}
    Surface Old, New, Work{kScreenWidth, kScreenHeight};
    NoPaint Paint;
    std::unique_ptr<TransitionScratch> Scratch = std::make_unique<TransitionScratch>();
    TransitionSurfaces S{Old, New, Work, Paint, *Scratch};
};

// A screen whose bytes, taken with the other one's, run through every pair of byte values:
// the low byte of the pair's number, or the high one.
Surface PairBytes(bool high) {
    Surface screen(kScreenWidth, kScreenHeight);
    size_t rowBytes = static_cast<size_t>(kScreenWidth) * 3;
    for (int y = 0; y < kScreenHeight; ++y) {
        for (size_t i = 0; i < rowBytes; ++i) {
            size_t pair = (static_cast<size_t>(y) * rowBytes + i) & 0xFFFF;
            screen.Row(y)[i] = static_cast<uint8_t>(high ? pair >> 8 : pair);
        }
    }
    return screen;
}

// A quarter of the stepped fade draws the mean of its own pixels and leaves the others; the
// four quarters of a stage together draw every pixel.
TEST(SteppedFadeQuarter, DrawsTheMeanOfItsOwnPixelsAndTheFourQuartersDrawThemAll) {
    StepSurfaces f(PairBytes(false), PairBytes(true));
    Surface &old = f.Old, &fresh = f.New, &work = f.Work;
    TransitionSurfaces& s = f.S;
    size_t rowBytes = static_cast<size_t>(kScreenWidth) * 3;
    for (int stages : {1, 16, 100}) {
        for (int stage : {1, stages / 2 + 1}) {
            pattern::SteppedFadeBegin(s);
            pattern::SteppedFadeStage(s, stage, stages);
            auto mean = [&](int y, size_t i) {
                return (fresh.Row(y)[i] * stage + old.Row(y)[i] * (stages - stage)) / stages;
            };
            // The first quarter: even rows, even pixels.
            pattern::SteppedFadeQuarter(s, 0);
            int wrong = 0;
            for (int y = 0; y < kScreenHeight; ++y) {
                for (size_t i = 0; i < rowBytes; ++i) {
                    bool drawn = y % 2 == 0 && i / 3 % 2 == 0;
                    wrong += work.Row(y)[i] != (drawn ? mean(y, i) : old.Row(y)[i]);
                }
            }
            for (int quarter = 1; quarter < 4; ++quarter) {
                pattern::SteppedFadeQuarter(s, quarter);
            }
            for (int y = 0; y < kScreenHeight; ++y) {
                for (size_t i = 0; i < rowBytes; ++i) {
                    wrong += work.Row(y)[i] != mean(y, i);
                }
            }
            EXPECT_EQ(wrong, 0) << stage << " of " << stages;
        }
    }
}

// The band moves each byte of the old screen 16 towards the new one, sixteen bytes at a time;
// every pair of bytes must move as one byte on its own does.
TEST(BandStep, MovesEveryByteSixteenTowardsItsTargetWithoutPassingIt) {
    StepSurfaces f(PairBytes(false), PairBytes(true));
    Surface& old = f.Old;
    TransitionSurfaces& s = f.S;
    size_t rowBytes = static_cast<size_t>(kScreenWidth) * 3;
    auto pairAt = [rowBytes](int y, size_t i) { return (static_cast<size_t>(y) * rowBytes + i) & 0xFFFF; };
    pattern::BandStep(s, 0);
    for (int y = 0; y < 128; ++y) {
        for (size_t i = 0; i < rowBytes; ++i) {
            int a = static_cast<int>(pairAt(y, i) & 0xFF), b = static_cast<int>(pairAt(y, i) >> 8);
            int expected = a < b ? std::min(a + 16, b) : std::max(a - 16, b);
            ASSERT_EQ(old.Row(y)[i], expected) << "from " << a << " towards " << b;
        }
    }
}

// The zoom fade gathers the old screen's pixels four bytes at a time; each frame must still
// be the new screen weighed against the old one sampled towards the centre.
TEST(ZoomFadeStep, BlendsTheNewScreenWithTheOldOneZoomedFromTheCentre) {
    StepSurfaces f(OldScreen(), NewScreen());
    Surface &old = f.Old, &fresh = f.New, &work = f.Work;
    TransitionSurfaces& s = f.S;
    for (int w : {8, 128, 256}) {
        pattern::ZoomFadeStep(s, w);
        auto sample = [w](int v, int centre, int size) {
            return std::clamp(centre + ((v - centre) * 76800 / (w + 300)) / 256, 0, size - 1);
        };
        int wrong = 0;
        for (int y = 0; y < kScreenHeight && wrong < 5; ++y) {
            for (int x = 0; x < kScreenWidth && wrong < 5; ++x) {
                uint32_t a = fresh.Pixel(x, y);
                uint32_t b = old.Pixel(sample(x, kScreenWidth / 2, kScreenWidth),
                                       sample(y, kScreenHeight / 2, kScreenHeight));
                uint32_t expected = 0;
                for (int shift : {0, 8, 16}) {
                    uint32_t mixed =
                        ((a >> shift & 0xFF) * static_cast<uint32_t>(w) +
                         (b >> shift & 0xFF) * static_cast<uint32_t>(256 - w)) >> 8;
                    expected |= mixed << shift;
                }
                if (work.Pixel(x, y) != expected) {
                    ADD_FAILURE() << "weight " << w << ", pixel " << x << "," << y;
                    ++wrong;
                }
            }
        }
    }
}

TEST_F(TransitionTest, TheIrisGrowsByS020AndS021AndStaysWithinItsCap) {
    Engine& engine = StartWithScreens();
    // The start values 250 and 550: radius 750, 75 steps of 20 ms.
    EXPECT_EQ(Run(7), 75u * 20);
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    for (auto [s020, s021] : {std::pair{kMin, kMax}, std::pair{kMax, kMin}, std::pair{400, 300}}) {
        engine.vars.S(20) = s020;
        engine.vars.S(21) = s021;
        PrepareScreens(OldScreen(), NewScreen());
        uint64_t ms = Run(7);
        EXPECT_LE(ms, 150u * 20);
        EXPECT_TRUE(ShowsNewScreen()) << s020 << "," << s021;
    }
    // Centred limits stop at radius 495, short of the corners; the closing copy covers them.
    EXPECT_EQ(pattern::IrisLimit(400, 300), 500);
    EXPECT_EQ(m_platform.OutsideCopies, 0);
}

TEST_F(TransitionTest, FadeKindsAreCrossFadesOfTheirOwnStepAndInterval) {
    Engine& engine = StartWithScreens();
    struct Kind {
        int32_t Number;
        uint64_t Elapsed; // frames of weight below 257, times the interval
    };
    // 1: step 24 every 40 ms; 3: 5 every 50; 4: 2 every 50; any other: 12 every 40.
    for (Kind kind : {Kind{1, 11 * 40}, Kind{3, 52 * 50}, Kind{4, 129 * 50}, Kind{0, 22 * 40}}) {
        PrepareScreens(OldScreen(), NewScreen());
        uint64_t start = m_platform.Now;
        engine.gfx.FadeKind(kind.Number);
        EXPECT_EQ(m_platform.Now - start, kind.Elapsed) << kind.Number;
        EXPECT_TRUE(ShowsNewScreen()) << kind.Number;
    }
    // The page change of novel mode fades the page in with kind 1.
    engine.vars.S(160) = 1;
    engine.text.WindowShown = 0;
    uint64_t start = m_platform.Now;
    engine.text.NewPage();
    EXPECT_EQ(m_platform.Now - start, 11u * 40);
    EXPECT_TRUE(ShowsNewScreen());
}

TEST_F(TransitionTest, NovelModeKeepsTheNewScreenAsTheNextOldOne) {
    Engine& engine = StartWithScreens();
    engine.vars.S(160) = 1;
    Run(4);
    EXPECT_TRUE(SamePixels(engine.gfx.PreviousSurface, engine.gfx.BackBuffer));
}

// ---- Clicks and close requests.

TEST_F(TransitionTest, AClickDuringTheTilesShowsTheNewScreenAndSetsS019) {
    Engine& engine = StartWithScreens();
    m_platform.ClickAt = m_platform.Now + 200;
    uint64_t ms = Run(8);
    EXPECT_LT(ms, 260u);
    EXPECT_TRUE(ShowsNewScreen());
    EXPECT_EQ(engine.vars.S(19), 1);
    // Left for the command that ran the transition to answer.
    EXPECT_EQ(engine.blocking.InterruptRequest, 1);
    EXPECT_FALSE(engine.blocking.Busy());
}

TEST_F(TransitionTest, AClickDuringACrossFadeEndsItWithoutSettingS019) {
    Engine& engine = StartWithScreens();
    for (int32_t n : {1, 17, 1000}) {
        PrepareScreens(OldScreen(), NewScreen());
        m_platform.ClickAt = m_platform.Now + 40;
        EXPECT_LT(Run(n), 100u) << n;
        EXPECT_TRUE(ShowsNewScreen()) << n;
        EXPECT_EQ(engine.vars.S(19), 0) << n;
        EXPECT_EQ(engine.blocking.InterruptRequest, 1) << n;
    }
}

TEST_F(TransitionTest, ClosingTheWindowDuringAPatternEndsItPromptly) {
    Engine& engine = StartWithScreens();
    m_platform.CloseAt = m_platform.Now + 100;
    EXPECT_LT(Run(15), 140u);
    EXPECT_TRUE(ShowsNewScreen());
    EXPECT_FALSE(m_platform.Closed);
    EXPECT_EQ(engine.blocking.InterruptRequest, 2);
    EXPECT_EQ(engine.vars.S(19), 1);
}

// The mosaic fills each block's first row with four-byte stores that run into the next pixel;
// every pixel must still be the one at the top left of its block, for block sizes that divide
// the screen and ones that leave a narrow last block.
TEST(DrawMosaic, EveryPixelTakesTheColourOfItsBlocksTopLeftPixel) {
    // Shown from the work surface, or drawn on the target's own surface and shown from it.
    struct ShownPaint final : PaintTarget {
        void Present(const Surface& source, Rect from, int, int) override {
            Area = from;
            Source = &source;
        }
        Surface* Canvas() override { return Own; }
        Surface* Own = nullptr;
        const Surface* Source = nullptr;
        Rect Area{};
    } paint;
    Surface source = OldScreen(), work(kScreenWidth, kScreenHeight), shown(kScreenWidth, kScreenHeight);
    for (Surface* own : {static_cast<Surface*>(nullptr), &shown}) {
        paint.Own = own;
        const Surface& frame = own ? *own : work;
        for (int block : {1, 2, 3, 7, 40, 799}) {
            DrawMosaic(source, block, work, paint);
            int wrong = 0;
            for (int y = 0; y < kScreenHeight; ++y) {
                for (int x = 0; x < kScreenWidth; ++x) {
                    const uint8_t* expected = source.Row(y - y % block) + (x - x % block) * 3;
                    wrong += std::memcmp(frame.Row(y) + x * 3, expected, 3) != 0;
                }
            }
            EXPECT_EQ(wrong, 0) << "block " << block << (own ? " on the target's surface" : "");
            EXPECT_EQ(paint.Source, &frame);
            EXPECT_EQ(paint.Area.Width, kScreenWidth);
            EXPECT_EQ(paint.Area.Height, kScreenHeight);
        }
    }
}


// The sliding cross-fades blend the two pictures where both land, scale one where only it
// does and leave black where neither does; every frame must be the blend of the two shifted
// pictures with black around them.
TEST(SlideFadeStep, BlendsBothShiftedPicturesWithBlackWhereNothingLands) {
    StepSurfaces f(OldScreen(), NewScreen());
    Surface &old = f.Old, &fresh = f.New, &work = f.Work;
    TransitionSurfaces& s = f.S;
    struct Frame {
        int W, OldShift, NewShift;
    };
    for (Frame f : {Frame{8, -8, 248}, Frame{128, -128, 128}, Frame{256, -256, 0},
                    Frame{8, 8, -237}, Frame{200, 200, -45}, Frame{0, 800, -800},
                    Frame{100, 0, 0}, Frame{50, -900, 900}}) {
        pattern::SlideFadeStep(s, f.W, f.OldShift, f.NewShift);
        auto shifted = [](const Surface& picture, int y, int x, int shift, int c) {
            int from = x - std::clamp(shift, -kScreenWidth, kScreenWidth);
            return from >= 0 && from < kScreenWidth ? picture.Row(y)[from * 3 + c] : 0;
        };
        int wrong = 0;
        for (int y = 0; y < kScreenHeight; y += 7) {
            for (int x = 0; x < kScreenWidth; ++x) {
                for (int c = 0; c < 3; ++c) {
                    int expected = (shifted(fresh, y, x, f.NewShift, c) * f.W +
                                    shifted(old, y, x, f.OldShift, c) * (256 - f.W)) >> 8;
                    wrong += work.Row(y)[x * 3 + c] != expected;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << "weight " << f.W << ", shifts " << f.OldShift << " " << f.NewShift;
    }
}

// The slats draw only the pixel each slat gains a step; after every step the old screen must
// hold what copying every slat whole (t - c + 1 pixels from column 20c - y) gives.
TEST(SlatsStep, EveryStepLeavesTheSlatsAsWideAsTheyAreAtThatStep) {
    StepSurfaces f(OldScreen(), NewScreen());
    Surface &old = f.Old, &fresh = f.New, expected = OldScreen();
    TransitionSurfaces& s = f.S;
    for (int t = 0; t < pattern::kSlatsSteps; ++t) {
        pattern::SlatsStep(s, t);
        for (int c = t - 19; c <= t; ++c) {
            for (int y = 0; y < kScreenHeight; ++y) {
                int from = std::clamp(20 * c - y, 0, kScreenWidth);
                int to = std::clamp(20 * c - y + t - c + 1, 0, kScreenWidth);
                expected.CopyFrom(fresh, Rect{from, y, to - from, 1}, from, y);
            }
        }
        ASSERT_TRUE(SamePixels(old, expected)) << "step " << t;
    }
}

} // namespace
} // namespace orv
