// obj_: an object blended through its mask over the screen, moved frame by frame, fixed
// into BackBuffer, and composed on the batch surface.
#include "gfx/effects_fixture.h"

namespace orv {
namespace {

constexpr uint32_t kScreen = 0x202020;
constexpr uint32_t kObject = 0x0000FE; // red 255 through a full mask: 255 x 255 >> 8

class ObjectSlotsTest : public test::EffectsTest {
protected:
    Engine& StartWithObject() {
        // 16 x 4 red over its mask: the left 8 pixels (three whole 8-byte groups) opaque.
        Surface stacked(16, 8);
        stacked.Fill(0);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 16; ++x) {
                stacked.SetPixel(x, y, 0x0000FF);
                stacked.SetPixel(x, y + 4, x < 8 ? 0xFFFFFF : 0);
            }
        }
        AddPicture("OBJ", stacked);
        AddPicture("WIDE", 1000, 700, 0x00FF00);
        Engine& engine = Start();
        engine.gfx.BackBuffer.Fill(kScreen);
        engine.gfx.PresentWhole(engine.gfx.BackBuffer);
        return engine;
    }
    void Obj(std::string_view text) { m_engine->gfx.ObjectControl(text); }
};

TEST_F(ObjectSlotsTest, SetMovesTheObjectOnPaintBoxOneStepPerWaitAndFixKeepsIt) {
    Engine& engine = StartWithObject();
    Obj("load 3,OBJ");
    uint64_t start = m_platform.Now;
    Obj("set 3,100,50,40");
    Obj("SET 3, 140, 50, 40");
    EXPECT_EQ(m_platform.Now - start, 80u);
    EXPECT_EQ(Shown(100, 50), kObject);
    EXPECT_EQ(Shown(140, 50), kObject);
    EXPECT_EQ(Shown(148, 50), kScreen);
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(140, 50), kScreen);
    Obj("era 3,140,50");
    EXPECT_EQ(Shown(140, 50), kScreen);
    Obj("fix 3,10,10");
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(10, 10), kObject);
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(18, 10), kScreen);
    // Half off the screen: clipped, nothing outside PB.
    Obj("set 3,792,598");
    EXPECT_EQ(Shown(799, 599), kObject);
    EXPECT_EQ(m_platform.OutsideCopies, 0);
}

TEST_F(ObjectSlotsTest, SlotsOutsideTheThirtyTwoAndFreedSlotsDrawNothingButStillWait) {
    StartWithObject();
    Obj("load 32,OBJ");
    Obj("load -1,OBJ");
    Obj("load 5,OBJ");
    Obj("del 5");
    uint64_t start = m_platform.Now;
    for (std::string_view set :
         {"set 32,0,0,10", "set -1,0,0,10", "set 5,0,0,10", "fix 7,0,0,10"}) {
        Obj(set);
    }
    EXPECT_EQ(m_platform.Now - start, 40u);
    EXPECT_EQ(Shown(0, 0), kScreen);
}

TEST_F(ObjectSlotsTest, ASecondBatchMakeKeepsTheFirstBatchSurface) {
    Engine& engine = StartWithObject();
    Obj("load 0,OBJ");
    Obj("b_make");
    Obj("b_reset");
    Obj("b_set 0,20,20");
    Obj("b_make,WIDE"); // batch mode is on: neither the picture nor a new surface
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(0, 0), kScreen);
    Obj("b_show");
    EXPECT_EQ(Shown(20, 20), kObject);
    EXPECT_EQ(Shown(0, 0), kScreen);
    Obj("b_end");
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(20, 20), kObject);
    // A picture larger than the screen is fitted into it, not let change its size.
    Obj("b_make WIDE");
    EXPECT_EQ(engine.gfx.BackBuffer.Width(), kScreenWidth);
    EXPECT_EQ(engine.gfx.BackBuffer.Height(), kScreenHeight);
    EXPECT_EQ(engine.gfx.BackBuffer.Pixel(799, 599), 0x00FF00u);
}

} // namespace
} // namespace orv
