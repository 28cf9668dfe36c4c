// The status screen's calendar, gauge and reveal, and the day indicator over the scene, on
// a small game whose pictures are plain colours over opaque masks.
#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "gfx/gra_encoder.h"
#include "test_support.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

// A picture of one colour over a mask that shows all of it. Drawn, a colour byte c shows
// as c * 255 >> 8.
ArchiveEntryInput Stacked(const char* name, int width, int height, uint32_t bgr) {
    Surface picture(width, 2 * height);
    picture.Fill(0xFFFFFF);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.SetPixel(x, y, bgr);
        }
    }
    return {name, *EncodeGraPicture(picture, {})};
}

constexpr uint32_t kBase = 0x101010;
constexpr uint32_t kToday = 0x3F3F00;   // from 0x404000
constexpr uint32_t kWinner1 = 0x00003F; // from 0x000040
constexpr uint32_t kWinner2 = 0x003F00; // from 0x004000
constexpr uint32_t kGauge = 0x7F7F7F;   // from 0x808080
constexpr uint32_t kDay = 0xBF00BF;     // from 0xC000C0

class StatusScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string main = std::string("Page.\0\\\0", 8);
        WriteFile(m_dir / "game" / "ov_data.orv", MakeTextArchive({{"main", ToBytes(main)}}));
        Surface base(kScreenWidth, kScreenHeight);
        base.Fill(kBase);
        WriteFile(m_dir / "game" / "ov_gra.orv",
                  MakeArchive({{"ST_BASE", *EncodeGraPicture(base, {})},
                               Stacked("ST_TODAY", 40, 24, 0x404000),
                               Stacked("ST_WNR01", 40, 24, 0x000040),
                               Stacked("ST_WNR02", 40, 24, 0x004000),
                               Stacked("ST_GAGE", 8, 20, 0x808080),
                               Stacked("DAY03", 32, 16, 0xC000C0)}));
        m_engine = StartEngine(m_platform, m_dir / "game", m_dir / "data");
        for (int i = 0; i < 400 && e().wait.WaitKind == 0; ++i) {
            m_platform.Now += 20;
            m_platform.Pass();
        }
        ASSERT_NE(e().wait.WaitKind, 0);
    }

    Engine& e() { return *m_engine; }
    uint32_t Back(int x, int y) { return e().gfx.BackBuffer.Pixel(x, y); }
    // The top-left pixel of day d's today and winner cells.
    static int Column(int d) { return (d - 1) / 8 * 368; }
    static int Row(int d) { return (d - 1) % 8 * 24 + 374; }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

struct CalendarCase {
    int32_t Today;
    int TodayShownAt; // the day whose cell shows the marker; 0 none
    bool WinnersShown;
};

class StatusCalendarTest : public StatusScreenTest,
                           public ::testing::WithParamInterface<CalendarCase> {};

TEST_P(StatusCalendarTest, OnlyTheSixteenDaysOfTheCalendarAreMarked) {
    const CalendarCase& c = GetParam();
    e().vars.V(1) = c.Today;
    e().vars.V(300) = 1;  // the winner of day 1
    e().vars.V(302) = 2;  // of day 4 (slot 3)
    e().vars.V(303) = 77; // of day 5: a winner without a picture
    e().screens.status.OpenStatusScreen();
    EXPECT_EQ(e().screens.Mode(), screen_mode::StatusScreen);
    for (int day = 1; day <= 16; ++day) {
        uint32_t expected = day == c.TodayShownAt ? kToday : kBase;
        EXPECT_EQ(Back(Column(day) + 34, Row(day)), expected) << "day " << day;
    }
    EXPECT_EQ(Back(Column(1) + 246, Row(1)), c.WinnersShown ? kWinner1 : kBase);
    EXPECT_EQ(Back(Column(4) + 246, Row(4)), c.WinnersShown ? kWinner2 : kBase);
    EXPECT_EQ(Back(Column(5) + 246, Row(5)), kBase);
    // Nothing outside the two columns of eight.
    EXPECT_EQ(Back(34, 374 + 8 * 24), kBase);
}

INSTANTIATE_TEST_SUITE_P(Days, StatusCalendarTest,
                         ::testing::Values(CalendarCase{6, 6, true}, CalendarCase{17, 0, true},
                                           CalendarCase{40, 0, true}, CalendarCase{-2, 0, false}));

struct GaugeCase {
    int32_t Units;
    int Drawn;
};

class StatusGaugeTest : public StatusScreenTest, public ::testing::WithParamInterface<GaugeCase> {};

TEST_P(StatusGaugeTest, TheGaugeDrawsAtMostThirtyUnits) {
    e().vars.V(111) = GetParam().Units;
    e().screens.status.OpenStatusScreen();
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(Back(318 + 14 * i, 268), i < GetParam().Drawn ? kGauge : kBase) << "unit " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Units, StatusGaugeTest,
                         ::testing::Values(GaugeCase{45, 30}, GaugeCase{-3, 0}, GaugeCase{4, 4}));

TEST_F(StatusScreenTest, APressGivesBackTheScreenItCovered) {
    uint32_t before = Back(400, 300);
    e().screens.status.OpenStatusScreen();
    EXPECT_EQ(e().vars.V(100), 1);
    EXPECT_EQ(e().vars.V(1), 1);
    EXPECT_EQ(e().MenusLocked, 1);
    EXPECT_EQ(m_platform.PB.Pixel(400, 300), kBase);
    e().PBMouseDown(MouseButton::Left, 10, 10);
    EXPECT_EQ(e().screens.Mode(), screen_mode::Game);
    EXPECT_EQ(e().MenusLocked, 0);
    EXPECT_EQ(Back(400, 300), before);
    EXPECT_EQ(m_platform.PB.Pixel(400, 300), before);
}

class DayIndicatorTest : public StatusScreenTest,
                         public ::testing::WithParamInterface<const char*> {};

TEST_P(DayIndicatorTest, ShowsOnlyInPlainPlayWithTheDaySet) {
    std::string situation = GetParam();
    e().vars.S(cell::ClearedOnTitle) = situation == "S004 clear" ? 0 : 1;
    e().vars.S(cell::DayPicture) = 3;
    if (situation == "novel mode") {
        e().vars.S(cell::NovelMode) = 1;
    } else if (situation == "replay") {
        e().screens.ReplayMode = 1;
    } else if (situation == "another screen") {
        e().screens.Open(e().screens.windowHidden);
    }
    e().gfx.PresentFrame();
    bool shown = situation == "shown";
    EXPECT_EQ(Back(16, 16) == kDay, shown);
}

INSTANTIATE_TEST_SUITE_P(Conditions, DayIndicatorTest,
                         ::testing::Values("shown", "S004 clear", "novel mode", "replay",
                                           "another screen"));

} // namespace
} // namespace orv::test
