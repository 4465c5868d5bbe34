#include "engine/volume_scale.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

constexpr LONG kTable[] = {-10000, -2302, -1609, -1203, -916, -693, -510, -356, -223, -105, 0};

TEST(VolumeScale, EachLevelGivesItsAttenuation)
{
    for (int level = 0; level <= 10; ++level) {
        EXPECT_EQ(LevelToAttenuation(level * 0.1), kTable[level]) << "level " << level;
        EXPECT_EQ(AttenuationForLevel(level), kTable[level]) << "level " << level;
    }
}

TEST(VolumeScale, TruncatesTowardZeroInsteadOfRounding)
{
    // 1000 ln 0.3 = -1203.97
    EXPECT_EQ(LevelToAttenuation(0.3), -1203);
    EXPECT_EQ(LevelToAttenuation(std::exp(-0.0005)), 0);
    EXPECT_EQ(LevelToAttenuation(std::exp(-1.9999)), -1999);
}

TEST(VolumeScale, FractionsWithoutALogarithmAreSilence)
{
    EXPECT_EQ(LevelToAttenuation(-0.0), -10000);
    EXPECT_EQ(LevelToAttenuation(-0.5), -10000);
    EXPECT_EQ(LevelToAttenuation(-std::numeric_limits<double>::infinity()), -10000);
    EXPECT_EQ(LevelToAttenuation(std::numeric_limits<double>::quiet_NaN()), -10000);
}

TEST(VolumeScale, FractionsAboveOneStayFaithfulAndNeverOverflow)
{
    EXPECT_EQ(LevelToAttenuation(1.1), 95);
    EXPECT_EQ(LevelToAttenuation(std::numeric_limits<double>::max()), 709782);
    EXPECT_EQ(LevelToAttenuation(std::numeric_limits<double>::denorm_min()), -744440);
    EXPECT_EQ(LevelToAttenuation(std::numeric_limits<double>::infinity()), std::numeric_limits<LONG>::max());
}

TEST(VolumeScale, LevelsOutsideTheScaleCountAsTheNearestEnd)
{
    EXPECT_EQ(AttenuationForLevel(-1), -10000);
    EXPECT_EQ(AttenuationForLevel(INT_MIN), -10000);
    EXPECT_EQ(AttenuationForLevel(11), 0);
    EXPECT_EQ(AttenuationForLevel(42), 0);
    EXPECT_EQ(AttenuationForLevel(INT_MAX), 0);
}

}  // namespace
