#include "platform/posix/posix_program_end.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

TEST(PosixProgramEndDeathTest, EndsAtOnceWithStatusZeroAfterWritingBufferedOutput) {
  EXPECT_EXIT(
      {
        static char buffer[256];
        std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);  // held back until flushed
        std::atexit([] { std::fputs("exit handler ran", stderr); });
        std::fputs("buffered text", stderr);
        platform::posix::PosixProgramEnd().EndNow();
      },
      ::testing::ExitedWithCode(0), "^buffered text$");
}
