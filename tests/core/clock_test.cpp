// The game clock's counting and the text of a time.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "GameClock.h"
#include "TimeText.h"

namespace {

struct TickCase
{
    std::int64_t ticks;
    const char* text;
};

class ClockTicksTest : public testing::TestWithParam<TickCase>
{
};

} // namespace

TEST_P(ClockTicksTest, ShowsTheReadingAfterSoManyTicks)
{
    GameClock clock;
    for (std::int64_t i = 0; i < GetParam().ticks; ++i)
        clock.Tick();
    EXPECT_EQ(clock.Text(), GetParam().text);
    EXPECT_EQ(clock.TotalSeconds(), GetParam().ticks);
    EXPECT_EQ(TimeText(clock.TotalSeconds()), GetParam().text) << "the results window's text agrees";
}

INSTANTIATE_TEST_SUITE_P(Readings, ClockTicksTest,
                         testing::Values(TickCase{0, "00:00:00"}, TickCase{59, "00:00:59"}, TickCase{60, "00:01:00"},
                                         TickCase{65, "00:01:05"}, TickCase{754, "00:12:34"},
                                         TickCase{3599, "00:59:59"}, TickCase{3600, "01:00:00"},
                                         TickCase{36000, "10:00:00"}, TickCase{100 * 3600, "100:00:00"},
                                         TickCase{100 * 3600 + 61, "100:01:01"}),
                         [](const testing::TestParamInfo<TickCase>& info) { return "After" + std::to_string(info.param.ticks); });

TEST(GameClockTest, ResetStartsAgainFromZero)
{
    GameClock clock;
    for (int i = 0; i < 3725; ++i)
        clock.Tick();
    EXPECT_EQ(clock.Text(), "01:02:05");
    clock.Reset();
    EXPECT_EQ(clock.Text(), "00:00:00");
    EXPECT_EQ(clock.TotalSeconds(), 0);
    clock.Tick();
    EXPECT_EQ(clock.Text(), "00:00:01");
}

TEST(TimeTextTest, WritesEveryFieldWithAtLeastTwoDigits)
{
    EXPECT_EQ(TimeText(754), "00:12:34");
    EXPECT_EQ(TimeText(360000), "100:00:00");
    EXPECT_EQ(TimeText(3600 * 1234 + 5), "1234:00:05");
    EXPECT_EQ(TimeText(std::numeric_limits<std::int32_t>::max()), "596523:14:07");
    EXPECT_EQ(TimeText(0, 0, 9), "00:00:09");
}

TEST(TimeTextTest, KeepsTheSignOfANegativeTime)
{
    // A hand-edited results list may hold one; it must not read as a real time.
    EXPECT_EQ(TimeText(-5), "-00:00:05");
    EXPECT_EQ(TimeText(-3661), "-01:01:01");
    EXPECT_EQ(TimeText(std::numeric_limits<std::int32_t>::min()), "-596523:14:08");
}
