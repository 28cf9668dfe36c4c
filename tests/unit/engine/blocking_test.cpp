#include "engine/blocking.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

TEST(BlockingStateTest, ScopesNestSoThatAnInnerEffectLeavesItsCallerBusy) {
    BlockingState state;
    EXPECT_FALSE(state.Busy());
    {
        BusyScope scene(state);
        {
            InterruptibleScope transition(state);
            EXPECT_TRUE(state.Busy());
            EXPECT_TRUE(state.InterruptibleWait());
        }
        EXPECT_TRUE(state.Busy()) << "the scene change still runs";
        EXPECT_FALSE(state.InterruptibleWait());
        InterruptibleScope second(state);
        EXPECT_TRUE(state.InterruptibleWait());
    }
    EXPECT_FALSE(state.Busy());
    EXPECT_FALSE(state.InterruptibleWait());
}

TEST(BlockingStateTest, HoldsOutlastScopesAndAreReleasedEachByItsOwnEnd) {
    BlockingState state;
    state.Hold(BlockingState::Holding::Movie);
    {
        BusyScope banner(state);
        state.Hold(BlockingState::Holding::PanicScreen);
    }
    EXPECT_TRUE(state.Busy());
    state.Release(BlockingState::Holding::PanicScreen);
    EXPECT_TRUE(state.Busy()) << "the movie still holds the screen";
    state.Release(BlockingState::Holding::Movie);
    state.Release(BlockingState::Holding::Movie);
    EXPECT_FALSE(state.Busy());
}

} // namespace
} // namespace orv::test
