#include "platform/system/format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Format, FollowsPrintf)
{
    EXPECT_EQ(Format("%s: %d/%d  Volume: %d/10    ", "Playing", 12, 95, 5), "Playing: 12/95  Volume: 5/10    ");
    EXPECT_EQ(Format("%d,%03dKB", 1, 206), "1,206KB");
    EXPECT_EQ(Format("Time: %f(sec)", 95.48), "Time: 95.480000(sec)");
    EXPECT_EQ(Format("%s", ""), "");
    EXPECT_EQ(Format("100%%"), "100%");
}

TEST(Format, HoldsTextOfAnyLength)
{
    const std::string longName(100000, 'x');
    const std::string text = Format("[%s]", longName.c_str());
    ASSERT_EQ(text.size(), longName.size() + 2);
    EXPECT_EQ(text.front(), '[');
    EXPECT_EQ(text.back(), ']');
    EXPECT_EQ(text.substr(1, longName.size()), longName);
}

}  // namespace
