// The stick steers the pointer: its dead zone, its speed curve, the pointer kept on PB.
#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "engine/gamepad_input.h"
#include "test_support.h"

#include <memory>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

using std::string_view_literals::operator""sv;

TEST(StickPointerStep, RestsInTheDeadZoneAndGrowsWithTheSquareOfTheTilt) {
    struct Case {
        int AxisX, AxisY, Ms;
        double X, Y;
    };
    const double half = kStickFullSpeed / 4 / 10; // half the travel past the dead zone, 100 ms
    const int halfTilt = kStickDeadZone + (32767 - kStickDeadZone) / 2;
    const Case kCases[] = {
        {0, 0, 100, 0, 0},
        {kStickDeadZone, -kStickDeadZone, 100, 0, 0},
        {32767, 0, 100, kStickFullSpeed / 10, 0},
        {-32768, 32767, 100, -kStickFullSpeed / 10, kStickFullSpeed / 10},
        {halfTilt, -halfTilt, 100, half, -half},
        {32767, 32767, 0, 0, 0},
        {32767, 32767, -5, 0, 0},
    };
    for (const Case& c : kCases) {
        PointerStep step = StickPointerStep(c.AxisX, c.AxisY, c.Ms);
        EXPECT_NEAR(step.X, c.X, 0.01) << c.AxisX << "," << c.AxisY << " for " << c.Ms;
        EXPECT_NEAR(step.Y, c.Y, 0.01) << c.AxisX << "," << c.AxisY << " for " << c.Ms;
    }
}

class StickTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto main = "*sleep 10\0"sv;
        WriteFile(m_dir / "ov_data.orv",
                  MakeTextArchive({{"main", Bytes(main.begin(), main.end())}}));
        WriteFile(m_dir / "ov_gra.orv", MakeArchive({}));
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        m_engine->PBMouseMove(400, 300);
    }

    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(StickTest, MovesThePointerAndTheCursorAndKeepsThemOnTheScreen) {
    GamepadInput pad(*m_engine);
    pad.StickHeld(32767, 0, 100);
    EXPECT_EQ(m_engine->PointerX, 400 + static_cast<int>(kStickFullSpeed / 10));
    EXPECT_EQ(m_engine->PointerY, 300);
    EXPECT_EQ(m_platform.Cursor.X, m_engine->PointerX);
    // Held far longer than the screen is wide, it stops at the edge.
    pad.StickHeld(-32768, 32767, 10000);
    EXPECT_EQ(m_engine->PointerX, 0);
    EXPECT_EQ(m_engine->PointerY, 599);
}

TEST_F(StickTest, SmallStepsAddUpToWholePixels) {
    GamepadInput pad(*m_engine);
    // About a tenth of a pixel a poll: fifteen polls make one pixel and a half.
    const int tilt = kStickDeadZone + static_cast<int>((32767 - kStickDeadZone) * 0.1);
    for (int i = 0; i < 15; ++i) {
        pad.StickHeld(tilt, 0, 10);
    }
    EXPECT_EQ(m_engine->PointerX, 401);
    for (int i = 0; i < 15; ++i) {
        pad.StickHeld(tilt, 0, 10);
    }
    EXPECT_EQ(m_engine->PointerX, 402);
}

} // namespace
} // namespace orv::test
