#include "ui/label/info_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(SizeText, RoundsUpToWholeKilobytesAndGroupsTheExactLength)
{
    EXPECT_EQ(SizeText(0), "0KB (0 byte)");
    EXPECT_EQ(SizeText(999), "1KB (999 byte)");
    EXPECT_EQ(SizeText(1000), "1KB (1,000 byte)");
    EXPECT_EQ(SizeText(1024), "1KB (1,024 byte)");
    EXPECT_EQ(SizeText(1025), "2KB (1,025 byte)");
    EXPECT_EQ(SizeText(1002003), "979KB (1,002,003 byte)");
    EXPECT_EQ(SizeText(1234567), "1,206KB (1,234,567 byte)");
    EXPECT_EQ(SizeText(1000000), "977KB (1,000,000 byte)");
    EXPECT_EQ(SizeText(1048576000), "1024,000KB (1048,576,000 byte)");
    EXPECT_EQ(SizeText(2147483647), "2097,152KB (2147,483,647 byte)");
}

TEST(SizeText, KeepsTheSameGroupingPastTwoGigabytes)
{
    EXPECT_EQ(SizeText(std::int64_t{1} << 31), "2097,152KB (2147,483,648 byte)");
    EXPECT_EQ(SizeText(5000000000), "4882,813KB (5000,000,000 byte)");
    EXPECT_EQ(SizeText(std::numeric_limits<std::int64_t>::max()), "9007199254740,992KB (9223372036854,775,807 byte)");
}

TEST(SizeText, NegativeLengthsGiveSomeTextWithoutFailing)
{
    EXPECT_FALSE(SizeText(-1).empty());
    EXPECT_FALSE(SizeText(std::numeric_limits<std::int64_t>::min()).empty());
}

TEST(StatusWord, NamesTheThreeTransportStates)
{
    EXPECT_EQ(StatusWord(0), "");
    EXPECT_EQ(StatusWord(1), "Stopped");
    EXPECT_EQ(StatusWord(2), "Paused");
    EXPECT_EQ(StatusWord(3), "Playing");
    EXPECT_EQ(StatusWord(4), "");
    EXPECT_EQ(StatusWord(-1), "");
}

TEST(StatusLine, TruncatesSecondsTowardZero)
{
    EXPECT_EQ(StatusLine("Playing", 12.7, 95.48, 5), "Playing: 12/95  Volume: 5/10    ");
    EXPECT_EQ(StatusLine("Paused", 12.99, 13.0, 42), "Paused: 12/13  Volume: 42/10    ");
    EXPECT_EQ(StatusLine("Playing", -0.9, -1.5, 0), "Playing: 0/-1  Volume: 0/10    ");
    EXPECT_EQ(StatusLine(StatusWord(0), 0.0, 0.0, 5), ": 0/0  Volume: 5/10    ");
}

TEST(StatusLine, ValuesWithoutA32BitTruncationShowAsZero)
{
    EXPECT_EQ(StatusLine("Playing", kNaN, kInf, 5), "Playing: 0/0  Volume: 5/10    ");
    EXPECT_EQ(StatusLine("Playing", -kInf, 1e300, 5), "Playing: 0/0  Volume: 5/10    ");
    EXPECT_EQ(StatusLine("Playing", 2147483647.9, -2147483648.9, 5),
              "Playing: 2147483647/-2147483648  Volume: 5/10    ");
    EXPECT_EQ(StatusLine("Playing", 2147483648.0, -2147483649.0, 5), "Playing: 0/0  Volume: 5/10    ");
}

TEST(FileNameFromPath, TakesTheTextAfterTheLastSlashOfALocalPath)
{
    EXPECT_EQ(FileNameFromPath("/home/ann/Videos/clip.mpg"), "clip.mpg");
    EXPECT_EQ(FileNameFromPath("clip.mpg"), "clip.mpg");
    EXPECT_EQ(FileNameFromPath("/home/ann/Videos/"), "");
    EXPECT_EQ(FileNameFromPath("/media/映像/動画.mpg"), "動画.mpg");
    // A backslash is an ordinary character.
    EXPECT_EQ(FileNameFromPath("/tmp/a\\b.mpg"), "a\\b.mpg");
    EXPECT_EQ(FileNameFromPath("C:\\Videos\\clip.mpg"), "C:\\Videos\\clip.mpg");
}

TEST(FileNameFromPath, ShowsUrlsWhole)
{
    EXPECT_EQ(FileNameFromPath("http://example.com/live/stream.mp4"), "http://example.com/live/stream.mp4");
    EXPECT_EQ(FileNameFromPath("svn+ssh://host/x"), "svn+ssh://host/x");
    // Not a scheme: the text before "://" holds a slash or does not start with a letter.
    EXPECT_EQ(FileNameFromPath("/tmp/x://y"), "y");
    EXPECT_EQ(FileNameFromPath("1http://host/y"), "y");
}

TEST(InfoLines, VideoSizeAndTime)
{
    EXPECT_EQ(VideoSizeLine(320, 240), "Video size: 320 x 240");
    EXPECT_EQ(VideoSizeLine(0, 0), "Video size: 0 x 0");
    EXPECT_EQ(TimeLine(95.48), "Time: 95.480000(sec)");
    EXPECT_EQ(TimeLine(0.0), "Time: 0.000000(sec)");
    EXPECT_EQ(TimeLine(kInf), "Time: inf(sec)");
}

TEST(SplashGreen, FadesInHoldsAndFadesOut)
{
    const int expected[][2] = {
        {0,  0  },
        {1,  16 },
        {15, 240},
        {16, 255},
        {47, 255},
        {48, 240},
        {62, 16 },
        {63, 0  },
        {-1, 0  },
        {64, 0  }
    };
    for (const auto& [tick, green] : expected)
        EXPECT_EQ(SplashGreen(tick), green) << "tick " << tick;
}

TEST(ProgressSplit, ScalesThePositionOverTheBar)
{
    EXPECT_EQ(ProgressSplit(0.0, 100.0, 210), 5);
    EXPECT_EQ(ProgressSplit(50.0, 100.0, 210), 105);
    EXPECT_EQ(ProgressSplit(100.0, 100.0, 210), 205);
    EXPECT_EQ(ProgressSplit(1.0, 3.0, 110), 38);  // 33.33 truncated
}

TEST(ProgressSplit, ZeroDurationPutsTheSplitAtTheStart)
{
    EXPECT_EQ(ProgressSplit(0.0, 0.0, 210), 5);
    EXPECT_EQ(ProgressSplit(12.0, 0.0, 210), 5);
    EXPECT_EQ(ProgressSplit(kNaN, 10.0, 210), 5);
    EXPECT_EQ(ProgressSplit(kInf, 10.0, 210), 5);
}

TEST(ProgressSplit, PositionBeyondTheDurationPassesTheBarsEnd)
{
    EXPECT_EQ(ProgressSplit(150.0, 100.0, 210), 305);
    EXPECT_GT(ProgressSplit(101.0, 100.0, 210), 210 - 5);
}

TEST(ProgressSplit, NarrowPanelsLeaveNoPlayedPart)
{
    EXPECT_EQ(ProgressSplit(5.0, 10.0, 10), 5);
    EXPECT_LE(ProgressSplit(5.0, 10.0, 6), 5);
    EXPECT_LE(ProgressSplit(10.0, 10.0, 0), 5);
}

TEST(ProgressSplit, ExtremeValuesSaturate)
{
    EXPECT_EQ(ProgressSplit(1e300, 1.0, 210), std::numeric_limits<int>::max());
    EXPECT_EQ(ProgressSplit(-1e300, 1.0, 210), std::numeric_limits<int>::min());
    EXPECT_EQ(ProgressSplit(1.0, 1.0, std::numeric_limits<int>::min()), std::numeric_limits<int>::min());
    EXPECT_EQ(ProgressSplit(1.0, 1.0, std::numeric_limits<int>::max()), 2147483642);
}

}  // namespace

TEST(ProgressBarPlace, APointHitsTheBarAndStandsForItsShareOfTheLength)
{
    // A 110-pixel panel: the bar from x = 5 to 104, its last row 10.
    EXPECT_TRUE(IsOnProgressBar(5, 3, 110));
    EXPECT_TRUE(IsOnProgressBar(104, 0, 110));
    EXPECT_TRUE(IsOnProgressBar(50, 10, 110));
    EXPECT_FALSE(IsOnProgressBar(4, 5, 110));
    EXPECT_FALSE(IsOnProgressBar(105, 5, 110));
    EXPECT_FALSE(IsOnProgressBar(50, 11, 110)) << "the status line begins below";
    EXPECT_FALSE(IsOnProgressBar(50, -1, 110));

    EXPECT_EQ(ProgressFractionAt(5, 110), 0.0);
    EXPECT_EQ(ProgressFractionAt(55, 110), 0.5);
    EXPECT_EQ(ProgressFractionAt(105, 110), 1.0);
    EXPECT_EQ(ProgressFractionAt(200, 110), 1.0);
    EXPECT_EQ(ProgressFractionAt(0, 110), 0.0);
    EXPECT_EQ(ProgressFractionAt(5, 10), std::nullopt) << "no room for a bar";
}
