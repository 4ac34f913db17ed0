#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/Platform.h"

namespace {

TEST(PlatformClockTest, CounterNeverRunsBackwardsAndHasAFrequency) {
  ASSERT_GT(platform::CounterFrequency(), 0);
  int64_t previous = platform::CounterTicks();
  for (int i = 0; i < 1000; ++i) {
    const int64_t now = platform::CounterTicks();
    ASSERT_GE(now, previous) << "reading " << i;
    previous = now;
  }
}

TEST(PlatformLocalTimeTest, ConvertsInTheProcessTimeZone) {
  struct Case {
    const char* zone;
    std::time_t time;
    int year, month, day, hour, minute, second, weekday, yearDay;
  };
  const Case kCases[] = {
      {"UTC0", 0, 70, 0, 1, 0, 0, 0, 4, 0},
      {"UTC0", 951782400 + 3661, 100, 1, 29, 1, 1, 1, 2, 59},  // 2000-02-29 01:01:01
      {"EST5", 0, 69, 11, 31, 19, 0, 0, 3, 364},               // five hours west
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.zone);
#if defined(_WIN32)
    _putenv_s("TZ", c.zone);
    _tzset();
#else
    setenv("TZ", c.zone, 1);
    tzset();
#endif
    std::tm out{};
    ASSERT_TRUE(platform::LocalTime(c.time, &out));
    EXPECT_EQ(out.tm_year, c.year);
    EXPECT_EQ(out.tm_mon, c.month);
    EXPECT_EQ(out.tm_mday, c.day);
    EXPECT_EQ(out.tm_hour, c.hour);
    EXPECT_EQ(out.tm_min, c.minute);
    EXPECT_EQ(out.tm_sec, c.second);
    EXPECT_EQ(out.tm_wday, c.weekday);
    EXPECT_EQ(out.tm_yday, c.yearDay);
  }
}

TEST(PlatformLocalTimeTest, RefusesANullResult) {
  EXPECT_FALSE(platform::LocalTime(0, nullptr));
}

}  // namespace
