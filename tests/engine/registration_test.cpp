// The registration pass and its pause.
#include <gtest/gtest.h>

#include "engine/registration.h"
#include "tests/engine/run_fixture.h"

using Registration = RunFixture;

TEST_F(Registration, StartsTheToolOncePerCopiedFileWithTwoSeparateArguments) {
  const std::string folder = "c:\\program files\\a b;$(touch x)\\";
  host.files.AddFile(folder + "regsvr32.exe", "20010101", "");  // a tool of length 0 counts
  for (int i : {1, 3, 4, 6}) Source(i, "20040312");
  host.files.AddFile(folder + Name(4), "20040312");  // up to date: not registered again
  const auto run = Run(folder);
  ASSERT_EQ(host.processes.Started().size(), 3u);
  const int expected[] = {1, 3, 6};
  for (int k = 0; k < 3; ++k) {
    const fake::StartedProcess& started = host.processes.Started()[k];
    EXPECT_EQ(started.program, folder + "regsvr32.exe");
    EXPECT_EQ(started.arguments, (std::vector<std::string>{"/s", folder + Name(expected[k])}));
    EXPECT_NE(run->ReportText.find(folder + Name(expected[k]) + " registrerad\r\n"), std::string::npos);
  }
  EXPECT_GE(host.clock.Readings(), 3 * 7) << "a pause of 0.3 s after each start, at 0.05 s a reading";
}

TEST(Pause, EndsAtTheFirstReadingAtLeastThreeTenthsOfASecondLater) {
  struct Case {
    std::vector<double> readings;
    int expected_readings;
  };
  const Case cases[] = {
      {{100.0, 100.1, 100.29, 100.2999, 100.31, 500.0}, 5},
      {{100.0, 100.3}, 2},                   // float(100.3) - 100 is just above 0.3f
      {{0.0, 0.3, 0.5}, 2},                  // exactly 0.3f is enough
      {{86399.9, 86399.95, 0.1, 0.25}, 4},   // across midnight
      {{86399.95, 0.0, 0.2, 0.26, 0.5}, 4},
      {{7200.0, 7200.1, 3600.2, 3600.3, 3600.45, 3600.5}, 6},  // an hour back: counts again from 3600.2
      {{82800.0, 3600.0, 3600.1, 3600.4}, 4},                  // set back from 23:00 to 01:00
  };
  for (const Case& c : cases) {
    fake::ScriptedClock clock;
    clock.Script(c.readings);
    engine::PauseAfterStart(clock);
    EXPECT_EQ(clock.Readings(), c.expected_readings) << c.readings.front();
  }
}
