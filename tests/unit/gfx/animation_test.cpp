// anim and animq on the virtual clock: pacing, lateness and the catch-up walk, clicks and
// the close box, the sound's two ways, and entries that lie.
#include "gfx/animation.h"
#include "gfx/effects_fixture.h"
#include "gfx/jpeg_encoder.h"
#include "script/system_cells.h"
#include "sound/wady.h"

#include <cmath>

namespace orv {
namespace {

// Frame i is a solid grey that tells its number back after the JPEG round trip.
uint8_t Grey(int i) {
    return static_cast<uint8_t>(10 + 20 * i);
}
int FrameOf(uint32_t colour) {
    return static_cast<int>(std::lround(((colour & 0xFF) - 10) / 20.0));
}
Bytes Solid(int i, int width = 16, int height = 16) {
    Surface picture(width, height);
    uint32_t g = Grey(i);
    picture.Fill(g << 16 | g << 8 | g);
    return EncodeJpegPicture(picture, 100);
}
std::vector<AnimationFrameInput> KeyFrames(int count, int width = 16, int height = 16) {
    std::vector<AnimationFrameInput> frames;
    for (int i = 0; i < count; ++i) {
        frames.push_back({anim_frame::Key, 0, 0, Solid(i, width, height)});
    }
    return frames;
}

struct ShownFrame {
    uint64_t At;
    int Frame;
};

class AnimationTest : public test::EffectsTest {
protected:
    void AddAnimation(const std::string& name, Bytes entry) {
        m_animations.push_back({name, std::move(entry)});
    }
    Engine& StartGame() {
        test::WriteFile(m_dir / "ov_anim.orv", test::MakeArchive(m_animations));
        Engine& engine = Start();
        m_platform.OnPresent = [this](const Surface& source, Rect from, int, int) {
            m_shown.push_back({m_platform.Now, FrameOf(source.Pixel(from.X, from.Y))});
        };
        return engine;
    }
    std::vector<int> ShownFrames() const {
        std::vector<int> frames;
        for (const ShownFrame& shown : m_shown) {
            frames.push_back(shown.Frame);
        }
        return frames;
    }
    uint64_t Play(std::string_view argument, bool enlarged = false) {
        uint64_t start = m_platform.Now;
        m_shown.clear();
        if (enlarged) {
            m_engine->gfx.PlayEnlargedAnimation(argument);
        } else {
            m_engine->gfx.PlayAnimation(argument);
        }
        return m_platform.Now - start;
    }

    std::vector<ArchiveEntryInput> m_animations;
    std::vector<ShownFrame> m_shown;
};

TEST_F(AnimationTest, TenFramesAtAHundredMsTakeOneSecondAndLeaveTheLastInBackBuffer) {
    AddAnimation("TEN", BuildAnimationEntry(100, 16, 16, KeyFrames(10)));
    Engine& engine = StartGame();
    EXPECT_EQ(Play("TEN,100,50"), 1000u);
    // Every frame once, on time, then the last again as it is left on the screen.
    std::vector<int> expected = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9};
    EXPECT_EQ(ShownFrames(), expected);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(m_shown[static_cast<size_t>(i)].At, static_cast<uint64_t>(100 * i));
    }
    EXPECT_EQ(FrameOf(engine.gfx.BackBuffer.Pixel(100, 50)), 9);
    EXPECT_EQ(FrameOf(engine.gfx.BackBuffer.Pixel(115, 65)), 9);
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(116, 50), 0u);
    EXPECT_FALSE(engine.blocking.Busy());
    EXPECT_EQ(engine.MenusLocked, 0);
    EXPECT_EQ(m_platform.OutsideCopies, 0);
}

TEST_F(AnimationTest, AJumpOf350MsMakesThreeFramesLateAndTheMarkerRedrawsTheirKeyFrames) {
    std::vector<AnimationFrameInput> frames = KeyFrames(5);
    // The marker carries the key frames it may redraw, newest first.
    Bytes copies;
    for (int k : {4, 3, 2}) {
        copies.insert(copies.end(), frames[static_cast<size_t>(k)].Data.begin(),
                      frames[static_cast<size_t>(k)].Data.end());
    }
    frames.push_back({anim_frame::CatchUp, 0, 0, copies});
    frames.push_back({anim_frame::Key, 0, 0, Solid(6)});
    AddAnimation("LATE", BuildAnimationEntry(100, 16, 16, frames));
    StartGame();
    bool jumped = false;
    m_platform.OnPump = [&] {
        if (!jumped && m_platform.Now >= 100) {
            jumped = true;
            m_platform.Now += 350;
        }
    };
    EXPECT_EQ(Play("LATE"), 700u);
    // Frame 1 finds the clock 350 ms on: d = 350, late = 3, frames 2..4 are passed and the
    // marker at 5 draws keys 4, 3 and 2 (not 1) from its copies.
    std::vector<int> expected = {0, 1, 4, 3, 2, 6, 6};
    EXPECT_EQ(ShownFrames(), expected);
}

TEST_F(AnimationTest, AnimqAtFifteenShowsEveryFrameFifteenTimesASecondEnlarged) {
    AddAnimation("Q", BuildAnimationEntry(15, 4, 4, KeyFrames(6, 4, 4)));
    Engine& engine = StartGame();
    std::vector<Rect> copies;
    m_platform.OnPresent = [&](const Surface& source, Rect from, int, int) {
        m_shown.push_back({m_platform.Now, FrameOf(source.Pixel(0, 0))});
        copies.push_back(from);
    };
    // Frame pos is due at pos x 66.666 ms and waits T = 15 ms against that, so frame pos + 1
    // shows 15 ms after frame pos was due: 0, 15, 81, 148, ...; the last waits until 348.
    EXPECT_EQ(Play("Q,10,10", true), 348u);
    std::vector<int> expected = {0, 1, 2, 3, 4, 5};
    EXPECT_EQ(ShownFrames(), expected);
    EXPECT_EQ(m_shown[3].At, 148u);
    ASSERT_FALSE(copies.empty());
    EXPECT_EQ(copies[0].Width, 8);
    EXPECT_EQ(copies[0].Height, 8);
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(12, 12), 0xFFFFFFu);
}

struct CutCase {
    const char* Argument;
    bool Close; // the close box instead of a click
    uint64_t Lasts;
    int32_t Cut;     // S036 afterwards
    int32_t Request; // InterruptRequest afterwards: a close request stays for the command
};
class AnimationCutTest : public AnimationTest, public testing::WithParamInterface<CutCase> {};

TEST_P(AnimationCutTest, AClickEndsOnlyASkippableAnimationAndClosingEndsAny) {
    const CutCase& c = GetParam();
    AddAnimation("TEN", BuildAnimationEntry(100, 16, 16, KeyFrames(10)));
    Engine& engine = StartGame();
    (c.Close ? m_platform.CloseAt : m_platform.ClickAt) = 250;
    EXPECT_EQ(Play(c.Argument), c.Lasts);
    EXPECT_EQ(engine.vars.S(cell::AnimationCut), c.Cut);
    EXPECT_EQ(engine.blocking.InterruptRequest, c.Request);
    EXPECT_EQ(FrameOf(engine.gfx.BackBuffer.Pixel(0, 0)), 9);
}

INSTANTIATE_TEST_SUITE_P(Cuts, AnimationCutTest,
                         testing::Values(CutCase{"TEN,0,0,0", false, 1000, 0, 0},
                                         CutCase{"TEN,0,0,1", false, 250, 1, 0},
                                         CutCase{"TEN 0 0 V000", false, 1000, 0, 0},
                                         CutCase{"TEN,0,0,0", true, 250, 0, 2}));

TEST_F(AnimationTest, SoundsFromFourMillionBytesAreStreamedAndSmallerOnesPlayedWhole) {
    PcmClip pcm;
    pcm.Samples.assign(22050, 1000);
    Bytes wady = EncodeStreamSound(pcm, std::nullopt, 2048);
    ASSERT_FALSE(wady.empty());
    for (uint32_t size : {3999999u, 4000000u}) {
        Bytes sound = wady;
        sound.resize(size);
        AddAnimation("S" + std::to_string(size),
                     BuildAnimationEntry(100, 16, 16, KeyFrames(3), sound));
    }
    Engine& engine = StartGame();
    ASSERT_TRUE(engine.sound.InitSound());
    bool whole = false, streamed = false;
    m_platform.OnPump = [&] {
        whole = whole || engine.sound.mixer.IsPlaying(sound_slot::AnimSound);
        streamed = streamed || engine.sound.music.Source == music_source::Animation;
    };
    Play("S3999999");
    EXPECT_TRUE(whole);
    EXPECT_FALSE(streamed);
    EXPECT_FALSE(engine.sound.mixer.IsPlaying(sound_slot::AnimSound));
    whole = streamed = false;
    Play("S4000000");
    EXPECT_FALSE(whole);
    EXPECT_TRUE(streamed);
    EXPECT_EQ(engine.sound.music.Source, music_source::None);
}

// Entries that lie about themselves: each plays what it can, inside every surface, and
// ends in the time its frames allow.
struct HostileCase {
    const char* Name;
    bool Enlarged;
    uint64_t Lasts; // ms
};

Bytes WithWord(Bytes entry, size_t offset, uint32_t value) {
    StoreU32(entry.data() + offset, value);
    return entry;
}

class HostileAnimationTest : public AnimationTest,
                             public testing::WithParamInterface<HostileCase> {};

TEST_P(HostileAnimationTest, PlaysWhatItCanInsideEverySurface) {
    Bytes three = BuildAnimationEntry(100, 16, 16, KeyFrames(3));
    AddAnimation("NONE", WithWord(three, 0, 0));
    AddAnimation("NEGATIVE", WithWord(three, 0, 0x80000000u));
    AddAnimation("TABLESPAST", WithWord(three, 0, 100000));
    AddAnimation("FRAMEPAST", WithWord(three, 24 + 6 * 3 + 4, 0xFFFFFF00u));
    AddAnimation("ZEROTIME", WithWord(three, 4, 0));
    AddAnimation("NEGATIVETIME", WithWord(three, 4, 0xFFFFFFF6u));
    AddAnimation("SOUNDPAST", WithWord(WithWord(three, 16, 5000), 20, 100));
    Bytes damaged = Solid(1);
    damaged.resize(damaged.size() / 2);
    AddAnimation("DAMAGED", BuildAnimationEntry(100, 16, 16, {{anim_frame::Key, 0, 0, damaged}}));
    // Partial frames far outside the area and the screen, a key frame larger than the screen.
    AddAnimation("OUTSIDE", BuildAnimationEntry(100, 16, 16,
                                                {{anim_frame::Key, 0, 0, Solid(1, 900, 40)},
                                                 {anim_frame::Partial, -32000, 500, Solid(2)},
                                                 {anim_frame::Partial, 790, 590, Solid(3)}}));
    AddAnimation("TALLWIDE", BuildAnimationEntry(100, 640, 600, KeyFrames(2, 640, 600)));
    AddAnimation("THIN", BuildAnimationEntry(100, 1, 16, KeyFrames(2, 1, 16)));
    AddAnimation("HUGEAREA", BuildAnimationEntry(100, 5000, 5000, KeyFrames(2, 40, 40)));
    Engine& engine = StartGame();
    const HostileCase& c = GetParam();
    std::string argument = std::string(c.Name) + ",780,590";
    EXPECT_EQ(Play(argument, c.Enlarged), c.Lasts);
    EXPECT_EQ(m_platform.OutsideCopies, 0);
    EXPECT_FALSE(engine.blocking.Busy());
}

INSTANTIATE_TEST_SUITE_P(
    Entries, HostileAnimationTest,
    testing::Values(HostileCase{"NONE", false, 0}, HostileCase{"NEGATIVE", false, 0},
                    HostileCase{"TABLESPAST", false, 0}, HostileCase{"FRAMEPAST", false, 300},
                    HostileCase{"ZEROTIME", false, 3}, HostileCase{"NEGATIVETIME", true, 3},
                    HostileCase{"SOUNDPAST", false, 300}, HostileCase{"DAMAGED", false, 100},
                    HostileCase{"OUTSIDE", false, 300}, HostileCase{"OUTSIDE", true, 300},
                    HostileCase{"TALLWIDE", true, 200}, HostileCase{"THIN", true, 0},
                    HostileCase{"HUGEAREA", true, 200}, HostileCase{"MISSING", false, 0}),
    [](const testing::TestParamInfo<HostileCase>& info) {
        return std::string(info.param.Name) + (info.param.Enlarged ? "Enlarged" : "");
    });

} // namespace
} // namespace orv
