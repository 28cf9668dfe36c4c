#include "platform/letterbox.h"

#include <limits>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

TEST(LetterboxTest, FitsTheWholeAreaWhenTheAspectMatches) {
    Letterbox same = Letterbox::Fit(800, 600);
    EXPECT_EQ(same.Picture.X, 0);
    EXPECT_EQ(same.Picture.Y, 0);
    EXPECT_EQ(same.Picture.Width, 800);
    EXPECT_EQ(same.Picture.Height, 600);
    Letterbox doubled = Letterbox::Fit(1600, 1200);
    EXPECT_EQ(doubled.Picture.Width, 1600);
    EXPECT_DOUBLE_EQ(doubled.Scale(), 2.0);
}

TEST(LetterboxTest, KeepsTheAspectWithCentredBars) {
    Letterbox wide = Letterbox::Fit(1920, 1080);
    EXPECT_EQ(wide.Picture.Height, 1080);
    EXPECT_EQ(wide.Picture.Width, 1440);
    EXPECT_EQ(wide.Picture.X, 240);
    EXPECT_EQ(wide.Picture.Y, 0);
    Letterbox tall = Letterbox::Fit(800, 1000);
    EXPECT_EQ(tall.Picture.Width, 800);
    EXPECT_EQ(tall.Picture.Height, 600);
    EXPECT_EQ(tall.Picture.Y, 200);
    // An odd remainder leaves the extra pixel on the far side, and the picture stays inside.
    Letterbox odd = Letterbox::Fit(1001, 600);
    EXPECT_EQ(odd.Picture.X, 100);
    EXPECT_LE(odd.Picture.X + odd.Picture.Width, 1001);
}

TEST(LetterboxTest, AnEmptyAreaGivesAnEmptyPictureAndMapsToTheOrigin) {
    for (auto box : {Letterbox::Fit(0, 600), Letterbox::Fit(800, -5), Letterbox::Fit(-1, -1)}) {
        EXPECT_TRUE(box.Empty());
        EXPECT_EQ(box.MapToGame(10, 10).X, 0);
        EXPECT_EQ(box.MapToArea(Rect{0, 0, 800, 600}).Width, 0);
    }
}

TEST(LetterboxTest, PointerPositionsMapToTheGamePixelUnderThem) {
    Letterbox wide = Letterbox::Fit(1920, 1080); // 1.8 area pixels a game pixel, from x 240
    Point first = wide.MapToGame(240, 0);
    EXPECT_EQ(first.X, 0);
    EXPECT_EQ(first.Y, 0);
    Point middle = wide.MapToGame(240 + 720, 540);
    EXPECT_EQ(middle.X, 400);
    EXPECT_EQ(middle.Y, 300);
    EXPECT_EQ(wide.MapToGame(240 + 1.79, 0).X, 0);
    EXPECT_EQ(wide.MapToGame(240 + 1.81, 0).X, 1);
    Point last = wide.MapToGame(1679.9, 1079.9);
    EXPECT_EQ(last.X, 799);
    EXPECT_EQ(last.Y, 599);
}

TEST(LetterboxTest, PositionsInTheBarsOrOutsideClampToTheNearestEdge) {
    Letterbox wide = Letterbox::Fit(1920, 1080);
    EXPECT_EQ(wide.MapToGame(10, 500).X, 0);
    EXPECT_EQ(wide.MapToGame(1900, 500).X, 799);
    EXPECT_EQ(wide.MapToGame(500, -40).Y, 0);
    EXPECT_EQ(wide.MapToGame(500, 5000).Y, 599);
    double huge = std::numeric_limits<double>::max();
    EXPECT_EQ(wide.MapToGame(huge, -huge).X, 799);
    EXPECT_EQ(wide.MapToGame(huge, -huge).Y, 0);
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(wide.MapToGame(nan, nan).X, 0);
}

TEST(LetterboxTest, GameRectanglesMapToTheAreaTheyCover) {
    Letterbox wide = Letterbox::Fit(1920, 1080);
    Rect whole = wide.MapToArea(Rect{0, 0, 800, 600});
    EXPECT_EQ(whole.X, 240);
    EXPECT_EQ(whole.Width, 1440);
    EXPECT_EQ(whole.Height, 1080);
    // One game pixel at 1.8 covers parts of three area pixels once it starts mid-pixel.
    Rect pixel = wide.MapToArea(Rect{1, 0, 1, 1});
    EXPECT_EQ(pixel.X, 240 + 1);
    EXPECT_EQ(pixel.Width, 3);
    Rect clipped = wide.MapToArea(Rect{-100, 590, 200, 100});
    EXPECT_EQ(clipped.X, 240);
    EXPECT_EQ(clipped.Y + clipped.Height, 1080);
    EXPECT_EQ(wide.MapToArea(Rect{900, 0, 10, 10}).Width, 0);
    EXPECT_EQ(wide.MapToArea(Rect{10, 10, -5, 10}).Width, 0);
}

TEST(ScreenAnchorTest, EngineOffsetsFromThePictureAreScaledOnScreen) {
    ScreenAnchor anchor{100, 50, 2.0};
    Point screen = anchor.ToScreen(Point{100 + 30, 50 + 10});
    EXPECT_EQ(screen.X, 160);
    EXPECT_EQ(screen.Y, 70);
    Point engine = anchor.ToEngine(160, 70);
    EXPECT_EQ(engine.X, 130);
    EXPECT_EQ(engine.Y, 60);
    Point origin = anchor.ToEngine(100, 50);
    EXPECT_EQ(origin.X, 100);
    EXPECT_EQ(origin.Y, 50);
    ScreenAnchor unscaled{0, 0, 0}; // a picture not laid out yet counts as unscaled
    EXPECT_EQ(unscaled.ToScreen(Point{7, 9}).X, 7);
}

} // namespace
} // namespace orv::test
