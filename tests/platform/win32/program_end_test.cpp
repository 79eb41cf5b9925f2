#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/system.h"

TEST(Win32ProgramEndDeathTest, EndsAtOnceWithStatusZero) {
  // An exit handler stands for the program's windows: it must not get to run.
  EXPECT_EXIT(
      {
        std::atexit([] { std::fputs("an exit handler ran", stderr); });
        platform::NativeSystem().end.EndNow();
      },
      ::testing::ExitedWithCode(0), "^$");
}
