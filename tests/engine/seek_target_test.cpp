// Where the keys and the progress bar move in a medium, and which stream a key picks.

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "engine/seek_target.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(SeekTarget, StepsStayInsideTheMediumAndNeedALength)
{
    EXPECT_EQ(SeekStepTarget(10.0, 5.0, 60.0), 15.0);
    EXPECT_EQ(SeekStepTarget(2.0, -5.0, 60.0), 0.0);
    EXPECT_EQ(SeekStepTarget(58.0, 60.0, 60.0), 60.0) << "past the end is the end";
    // A live stream has no length to move in, and nonsense moves nowhere.
    EXPECT_EQ(SeekStepTarget(10.0, 5.0, 0.0), std::nullopt);
    EXPECT_EQ(SeekStepTarget(10.0, 5.0, -1.0), std::nullopt);
    EXPECT_EQ(SeekStepTarget(10.0, 5.0, kInfinity), std::nullopt);
    EXPECT_EQ(SeekStepTarget(kNaN, 5.0, 60.0), std::nullopt);
    EXPECT_EQ(SeekStepTarget(10.0, 5.0, kNaN), std::nullopt);

    EXPECT_EQ(SeekFractionTarget(0.5, 60.0), 30.0);
    EXPECT_EQ(SeekFractionTarget(-0.2, 60.0), 0.0);
    EXPECT_EQ(SeekFractionTarget(1.7, 60.0), 60.0);
    EXPECT_EQ(SeekFractionTarget(kNaN, 60.0), std::nullopt);
    EXPECT_EQ(SeekFractionTarget(0.5, 0.0), std::nullopt);
}

TEST(SeekTarget, SubtitlesCycleThroughNoneAndSoundRoundToTheFirst)
{
    EXPECT_EQ(NextSubtitleStream(0, 2), 1);
    EXPECT_EQ(NextSubtitleStream(1, 2), -1) << "after the last, none";
    EXPECT_EQ(NextSubtitleStream(-1, 2), 0) << "after none, the first";
    EXPECT_EQ(NextSubtitleStream(0, 1), -1);
    EXPECT_EQ(NextSubtitleStream(5, 2), 0) << "a stream that is gone starts the round again";
    EXPECT_EQ(NextSubtitleStream(-1, 0), -1);

    EXPECT_EQ(NextAudioStream(0, 2), 1);
    EXPECT_EQ(NextAudioStream(1, 2), 0);
    EXPECT_EQ(NextAudioStream(0, 1), 0);
    EXPECT_EQ(NextAudioStream(-1, 3), 0);
    EXPECT_EQ(NextAudioStream(0, 0), -1);
}

}  // namespace
