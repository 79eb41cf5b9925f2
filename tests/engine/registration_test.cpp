// The pause after each start of the registration tool.
#include <gtest/gtest.h>

#include "engine/registration.h"
#include "tests/support/fake_system.h"

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
