#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/system.h"

namespace {

TEST(Win32ClockTest, CountsLocalSecondsSinceMidnight) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  const double seconds = platform::NativeSystem().clock.SecondsSinceMidnight();
  const double expected = before.wHour * 3600.0 + before.wMinute * 60.0 + before.wSecond;
  EXPECT_GE(seconds, 0.0);
  EXPECT_LT(seconds, 86400.0);
  // Within two seconds of the local time, unless midnight passed in between.
  EXPECT_TRUE(std::fabs(seconds - expected) < 2.0 || seconds < 2.0) << seconds << " against " << expected;
}

TEST(Win32ProgramEndDeathTest, EndsAtOnceWithStatusZero) {
  // An exit handler stands for the program's windows: it must not get to run.
  EXPECT_EXIT(
      {
        std::atexit([] { std::fputs("an exit handler ran", stderr); });
        platform::NativeSystem().end.EndNow();
      },
      ::testing::ExitedWithCode(0), "^$");
}

}  // namespace
