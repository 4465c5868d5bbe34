// Where a stored window place goes when no screen shows it.

#include <climits>
#include <vector>

#include <gtest/gtest.h>

#include "ui/player/screen_place.h"

namespace {

const std::vector<RECT> kOne{
    {0, 0, 1280, 800}
};
// A second screen to the right, taller and lower.
const std::vector<RECT> kTwo{
    {0,    0,   1280, 800 },
    {1280, 200, 3200, 1280}
};

TEST(ScreenPlace, APlaceThatAScreenShowsStaysAsStored)
{
    for (const SizedRect place : {
             SizedRect{100,       80,        400, 300},
             SizedRect{-1,        -1,        400, 300},
             SizedRect{1280 - 64, 800 - 48,  400, 300},
             SizedRect{-400 + 64, -300 + 48, 400, 300},
             SizedRect{100,       100,       0,   -5 }
    }) {
        EXPECT_EQ(PlaceOnScreens(place, kOne), place) << place.left << "," << place.top;
    }
    EXPECT_EQ(PlaceOnScreens(SizedRect{3000, 1000, 400, 300}, kTwo), (SizedRect{3000, 1000, 400, 300}))
        << "on the second screen, partly off it";
    EXPECT_EQ(PlaceOnScreens(SizedRect{100000, 100000, 400, 300}, {}), (SizedRect{100000, 100000, 400, 300}));
}

TEST(ScreenPlace, APlaceNoScreenShowsComesOntoTheNearestScreenItsSizeKept)
{
    EXPECT_EQ(PlaceOnScreens(SizedRect{100000, 100000, 400, 300}, kOne), (SizedRect{880, 500, 400, 300}));
    EXPECT_EQ(PlaceOnScreens(SizedRect{1280 - 63, 100, 400, 300}, kOne), (SizedRect{880, 100, 400, 300}))
        << "63 columns shown are too few";
    EXPECT_EQ(PlaceOnScreens(SizedRect{-5000, 100, 400, 300}, kOne), (SizedRect{0, 100, 400, 300}));
    // Larger than the screen: as large as the screen.
    EXPECT_EQ(PlaceOnScreens(SizedRect{9000, 0, 5000, 4000}, kOne), (SizedRect{0, 0, 1280, 800}));
    // Out beyond the second screen, onto it; above the first, onto that one.
    EXPECT_EQ(PlaceOnScreens(SizedRect{100000, 100000, 400, 300}, kTwo), (SizedRect{2800, 980, 400, 300}));
    EXPECT_EQ(PlaceOnScreens(SizedRect{300, -9000, 400, 300}, kTwo), (SizedRect{300, 0, 400, 300}));
    // Nothing stored overflows, however far out.
    EXPECT_EQ(PlaceOnScreens(SizedRect{INT_MAX, INT_MIN, INT_MAX, INT_MAX}, kOne), (SizedRect{0, 0, 1280, 800}));
}

}  // namespace
