// Where the dialogs open: over the main window, inside the screen.
#include "dialogs/dialog_place.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

struct PlaceCase {
    const char* What;
    Rect Owner;
    Point Expected;
};

class DialogPlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(DialogPlaceTest, CentresTheDialogOverTheWindowInsideTheScreen) {
    const Rect screen{0, 0, 1920, 1080};
    Point at = PlaceDialog(GetParam().Owner, 494, 408, screen);
    EXPECT_EQ(at.X, GetParam().Expected.X) << GetParam().What;
    EXPECT_EQ(at.Y, GetParam().Expected.Y) << GetParam().What;
}

INSTANTIATE_TEST_SUITE_P(
    Windows, DialogPlaceTest,
    ::testing::Values(
        PlaceCase{"centred", Rect{100, 50, 808, 650}, Point{100 + 157, 50 + 121}},
        // A window smaller than the dialog: the offsets are negative and truncated toward
        // zero, (401 - 494) / 2 = -46 and (301 - 408) / 2 = -53.
        PlaceCase{"over a small window", Rect{500, 500, 401, 301}, Point{454, 447}},
        PlaceCase{"pushed off the left and top", Rect{-300, -200, 808, 650}, Point{0, 0}},
        PlaceCase{"pushed off the right and bottom", Rect{1500, 900, 808, 650},
                  Point{1920 - 494, 1080 - 408}}));

TEST(DialogPlaceEdgeTest, ADialogLargerThanTheScreenKeepsItsTopLeftOnIt) {
    Point at = PlaceDialog(Rect{0, 0, 300, 200}, 494, 408, Rect{1920, 0, 400, 300});
    EXPECT_EQ(at.X, 1920);
    EXPECT_EQ(at.Y, 0);
    // The screen need not start at the origin.
    at = PlaceDialog(Rect{1920 + 3000, 10, 808, 650}, 494, 408, Rect{1920, 0, 1280, 1024});
    EXPECT_EQ(at.X, 1920 + 1280 - 494);
    EXPECT_EQ(at.Y, 10 + 121);
}

} // namespace
} // namespace orv::test
