#include "ui/player/menu_state.h"

#include <gtest/gtest.h>

#include "res/resource.h"

namespace {

using Ids = std::vector<UINT>;

TEST(PopupMenuState, NothingOpenedGreysTransportAndVolume)
{
    const MenuState menu = PopupMenuState(0, 5, {});
    EXPECT_EQ(menu.greyed, (Ids{ID_PLAY_PAUSE, ID_STOP, ID_VOLUME_UP, ID_VOLUME_DOWN}));
    EXPECT_TRUE(menu.checked.empty());
    // The volume ends do not matter before anything is opened.
    EXPECT_EQ(PopupMenuState(0, 0, {}).greyed, menu.greyed);
    EXPECT_EQ(PopupMenuState(0, 10, {}).greyed, menu.greyed);
}

TEST(PopupMenuState, StoppedGreysOnlyStop)
{
    EXPECT_EQ(PopupMenuState(1, 5, {}).greyed, Ids{ID_STOP});
}

TEST(PopupMenuState, PlayingOrPausedGreyOnlyTheVolumeEnd)
{
    for (const int state : {2, 3}) {
        EXPECT_TRUE(PopupMenuState(state, 5, {}).greyed.empty()) << state;
        EXPECT_EQ(PopupMenuState(state, 10, {}).greyed, Ids{ID_VOLUME_UP}) << state;
        EXPECT_EQ(PopupMenuState(state, 0, {}).greyed, Ids{ID_VOLUME_DOWN}) << state;
    }
}

TEST(PopupMenuState, LevelsOutsideTheScaleGreyNoVolumeItem)
{
    EXPECT_TRUE(PopupMenuState(3, 42, {}).greyed.empty());
    EXPECT_TRUE(PopupMenuState(3, -1, {}).greyed.empty());
}

TEST(PopupMenuState, UnknownStatesCountAsNeitherPlayingNorStopped)
{
    EXPECT_EQ(PopupMenuState(7, 0, {}).greyed, (Ids{ID_PLAY_PAUSE, ID_STOP, ID_VOLUME_DOWN}));
}

TEST(PopupMenuState, ChecksEachSwitchThatIsOnInTheOrderTheMarksAreSet)
{
    EXPECT_EQ(PopupMenuState(1, 5, {1, 1, 1, 1}).checked, (Ids{ID_AUTO_REWIND, ID_REPEAT, ID_AUTO_ZOOM, ID_STRETCH}));
    // Any non-zero value is on, as read from the settings.
    EXPECT_EQ(PopupMenuState(1, 5, {.repeat = 2}).checked, Ids{ID_REPEAT});
    EXPECT_EQ(PopupMenuState(1, 5, {.stretch = -1, .autoZoom = 1}).checked, (Ids{ID_AUTO_ZOOM, ID_STRETCH}));
}

}  // namespace
