#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/system.h"

// The end comes at once with status 0: what the program wrote still goes out, but no exit handler
// (one stands for the program's windows) gets to run.
TEST(ProgramEndDeathTest, EndsAtOnceWithStatusZeroAfterWritingBufferedOutput) {
  EXPECT_EXIT(
      {
        static char buffer[256];
        std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);  // held back until flushed
        std::atexit([] { std::fputs("exit handler ran", stderr); });
        std::fputs("buffered text", stderr);
        platform::NativeSystem().end.EndNow();
      },
      ::testing::ExitedWithCode(0), "^buffered text$");
}
