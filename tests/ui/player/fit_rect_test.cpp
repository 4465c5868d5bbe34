#include "ui/player/fit_rect.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace {

RECT Rect(LONG left, LONG top, LONG right, LONG bottom)
{
    return RECT{left, top, right, bottom};
}

TEST(FitRect, UsesTheFullHeightOrTheFullWidth)
{
    EXPECT_EQ(FitRect(320, 240, Rect(0, 0, 500, 240)), Rect(0, 0, 320, 240));  // room at the right
    EXPECT_EQ(FitRect(320, 240, Rect(0, 0, 320, 400)), Rect(0, 0, 320, 240));  // room below
    // A tie is limited by the height.
    EXPECT_EQ(FitRect(320, 240, Rect(0, 0, 400, 300)), Rect(0, 0, 400, 300));
    EXPECT_EQ(FitRect(2, 1, Rect(10, 20, 14, 22)), Rect(10, 20, 14, 22));
}

TEST(FitRect, KeepsTheBoundsCornerAndTruncates)
{
    // sy = 100 / 3, so the width is 100 / 3 * 7 = 233.33
    EXPECT_EQ(FitRect(7, 3, Rect(5, 6, 1005, 106)), Rect(5, 6, 238, 106));
    EXPECT_EQ(FitRect(3, 7, Rect(5, 6, 105, 1006)), Rect(5, 6, 105, 239));
}

TEST(FitRect, AZeroSideGivesTheWholeBounds)
{
    EXPECT_EQ(FitRect(0, 240, Rect(0, 0, 500, 300)), Rect(0, 0, 500, 300));
    EXPECT_EQ(FitRect(320, 0, Rect(0, 0, 500, 300)), Rect(0, 0, 500, 300));
    EXPECT_EQ(FitRect(0, 0, Rect(0, 0, 0, 0)), Rect(0, 0, 0, 0));
}

TEST(FitRect, DegenerateAreasAndPictures)
{
    EXPECT_EQ(FitRect(320, 240, Rect(0, 0, 0, 0)), Rect(0, 0, 0, 0));  // minimised window
    EXPECT_EQ(FitRect(1, 1, Rect(0, 0, 500, 240)), Rect(0, 0, 240, 240));
    EXPECT_EQ(FitRect(INT_MAX, 1, Rect(0, 0, 500, 240)), Rect(0, 0, 500, 0));
    EXPECT_EQ(FitRect(1, INT_MAX, Rect(0, 0, 500, 240)), Rect(0, 0, 0, 240));
    EXPECT_EQ(FitRect(1, 1, Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX)), Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
}

TEST(FitRect, AnyInputStaysDefinedAndKeepsTheCorner)
{
    const LONG sides[] = {INT_MIN, -320, -1, 0, 1, 2, 240, 320, INT_MAX};
    for (const LONG w : sides) {
        for (const LONG h : sides) {
            for (const RECT& bounds :
                 {Rect(0, 0, 500, 240), Rect(-50, -60, -100, -120), Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX),
                  Rect(INT_MAX, INT_MAX, INT_MIN, INT_MIN)}) {
                const RECT fitted = FitRect(w, h, bounds);
                EXPECT_EQ(fitted.left, bounds.left);
                EXPECT_EQ(fitted.top, bounds.top);
                const bool keepsRight = fitted.right == bounds.right;
                const bool keepsBottom = fitted.bottom == bounds.bottom;
                EXPECT_TRUE(keepsRight || keepsBottom) << w << " x " << h;
            }
        }
    }
}

TEST(LabelRect, TakesTheFullHeightRightOfThePicture)
{
    EXPECT_EQ(LabelRect(Rect(0, 0, 500, 240), 320), (SizedRect{320, 0, 180, 240}));
    EXPECT_EQ(LabelRect(Rect(0, 0, 320, 400), 320), (SizedRect{320, 0, 0, 400}));
    EXPECT_EQ(LabelRect(Rect(0, 0, 192, 76), 0), (SizedRect{0, 0, 192, 76}));
    EXPECT_EQ(LabelRect(Rect(0, INT_MIN, INT_MAX, INT_MAX), INT_MIN), (SizedRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}));
}

class ZoomRectTest : public ::testing::Test {
protected:
    // A window at (100, 50) with a 5-pixel frame around a 320 x 240 client area.
    RECT window = Rect(100, 50, 430, 300);
    RECT client = Rect(0, 0, 320, 240);
    RECT desktop = Rect(0, 0, 1920, 1080);
};

TEST_F(ZoomRectTest, PresetsScaleThePictureAndAddTheFrame)
{
    EXPECT_EQ(ZoomRect(window, client, desktop, 320, 240, 1.0), (SizedRect{100, 50, 330, 250}));
    EXPECT_EQ(ZoomRect(window, client, desktop, 352, 288, 0.25), (SizedRect{100, 50, 98, 82}));
    EXPECT_EQ(ZoomRect(window, client, desktop, 320, 240, 0.5), (SizedRect{100, 50, 170, 130}));
    EXPECT_EQ(ZoomRect(window, client, desktop, 320, 240, 2.0), (SizedRect{100, 50, 650, 490}));
    EXPECT_EQ(ZoomRect(window, client, desktop, 333, 101, 0.25), (SizedRect{100, 50, 93, 35}));
}

TEST_F(ZoomRectTest, WithoutAPictureEveryPresetGivesTheLabelOnlySize)
{
    const SizedRect labelOnly{100, 50, 192 + 10, 76 + 10};
    for (const double factor : {0.25, 0.5, 1.0, 2.0, 0.0, -1.0}) {
        EXPECT_EQ(ZoomRect(window, client, desktop, 0, 0, factor), labelOnly) << factor;
        EXPECT_EQ(ZoomRect(window, client, desktop, 320, 0, factor), labelOnly) << factor;
        EXPECT_EQ(ZoomRect(window, client, desktop, 0, 240, factor), labelOnly) << factor;
    }
    EXPECT_EQ(ZoomRect(window, client, desktop, 320, 240, -1.0), labelOnly);
}

TEST_F(ZoomRectTest, MaximizeCoversTheDesktopWithoutAFrame)
{
    EXPECT_EQ(ZoomRect(window, client, desktop, 320, 240, 0.0), (SizedRect{0, 0, 1920, 1080}));
}

TEST_F(ZoomRectTest, NegativeLeftOrTopMovesToZero)
{
    EXPECT_EQ(ZoomRect(Rect(-20, 30, 310, 280), client, desktop, 320, 240, 1.0), (SizedRect{0, 30, 330, 250}));
    EXPECT_EQ(ZoomRect(Rect(40, -7, 370, 243), client, desktop, 320, 240, 1.0), (SizedRect{40, 0, 330, 250}));
    EXPECT_EQ(ZoomRect(Rect(-1, -1, 329, 249), client, desktop, 0, 0, 1.0), (SizedRect{0, 0, 202, 86}));
}

TEST_F(ZoomRectTest, ExtremeSizesSaturate)
{
    EXPECT_EQ(ZoomRect(window, client, desktop, INT_MAX, INT_MAX, 2.0), (SizedRect{100, 50, INT_MAX, INT_MAX}));
    EXPECT_EQ(ZoomRect(window, client, desktop, INT_MIN, INT_MIN, 2.0), (SizedRect{100, 50, INT_MIN, INT_MIN}));
    const RECT huge = Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(ZoomRect(huge, Rect(0, 0, 0, 0), desktop, 0, 0, 1.0), (SizedRect{0, 0, INT_MAX, INT_MAX}));
    EXPECT_EQ(ZoomRect(Rect(0, 0, 0, 0), huge, desktop, 0, 0, 1.0), (SizedRect{0, 0, INT_MIN, INT_MIN}));
    EXPECT_EQ(ZoomRect(window, client, desktop, 320, 240, std::numeric_limits<double>::quiet_NaN()),
              (SizedRect{100, 50, 0, 0}));
}

}  // namespace
