#include "platform/system/time_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <limits>
#include <string>

#include "support/scoped_env.h"

namespace {

constexpr const char* kDateFormat = "%Y/%m/%d(%a) %H:%M:%S";

TEST(FormatLocalTime, UsesTheLocalTimeZone)
{
    {
        const ScopedEnv tz("TZ", "UTC0");
        EXPECT_EQ(FormatLocalTime(0, kDateFormat), "1970/01/01(Thu) 00:00:00");
        EXPECT_EQ(FormatLocalTime(1700000000, kDateFormat), "2023/11/14(Tue) 22:13:20");
    }
    {
        const ScopedEnv tz("TZ", "JST-9");
        EXPECT_EQ(FormatLocalTime(1700000000, kDateFormat), "2023/11/15(Wed) 07:13:20");
    }
    {
        const ScopedEnv tz("TZ", "EST5");
        EXPECT_EQ(FormatLocalTime(0, kDateFormat), "1969/12/31(Wed) 19:00:00");
    }
}

TEST(FormatLocalTime, DayNamesAreEnglishWhateverTheLocale)
{
    const ScopedEnv tz("TZ", "UTC0");
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* const days[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
    int localesTried = 0;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "ja_JP.UTF-8", "ru_RU.UTF-8", "C.UTF-8", "C"}) {
        const ScopedEnv lcAll("LC_ALL", name);
        if (std::setlocale(LC_ALL, "") == nullptr)
            continue;
        ++localesTried;
        for (int day = 0; day < 7; ++day)
            EXPECT_EQ(FormatLocalTime(std::int64_t{day} * 86400, "%a"), days[day]) << name;
        EXPECT_EQ(FormatLocalTime(0, "%b %A"), "Jan Thursday") << name;
    }
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_GT(localesTried, 0);
}

TEST(FormatLocalTime, TimesBefore1970AndBeyondTheCalendarGiveNoText)
{
    const ScopedEnv tz("TZ", "UTC0");
    EXPECT_EQ(FormatLocalTime(-1, kDateFormat), "");
    EXPECT_EQ(FormatLocalTime(std::numeric_limits<std::int64_t>::min(), kDateFormat), "");
    EXPECT_EQ(FormatLocalTime(std::numeric_limits<std::int64_t>::max(), kDateFormat), "");
    // Past the 32-bit range still works.
    EXPECT_EQ(FormatLocalTime(253402300799, kDateFormat), "9999/12/31(Fri) 23:59:59");
}

TEST(FormatLocalTime, TextLongerThanAShortBuffer)
{
    const ScopedEnv tz("TZ", "UTC0");
    std::string format;
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        format += "%Y-";
        expected += "1970-";
    }
    EXPECT_EQ(FormatLocalTime(0, format.c_str()), expected);
    EXPECT_EQ(FormatLocalTime(0, ""), "");
}

}  // namespace
