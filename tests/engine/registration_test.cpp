// The pause after each start of the registration tool.
#include <gtest/gtest.h>

#include "engine/registration.h"
#include "tests/engine/run_fixture.h"

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

// The tool is always a system folder's regsvr32.exe, named as the system names that folder: the
// destination's own, else the first that has one, also for a destination outside them, where a
// regsvr32.exe beside the components never runs.
TEST(Registration, UsesTheSystemsOwnToolWhateverTheDestination) {
  struct Case {
    std::string destination;
    std::vector<std::string> tools;
    std::string program, component;
  };
  const std::string sys = "c:\\windows\\system32\\", wow = "c:\\windows\\syswow64\\";
  const Case cases[] = {
      {"c:\\program\\", {"c:\\program\\", sys}, sys + "regsvr32.exe", "c:\\program\\comdlg32.ocx"},
      {"c:\\program\\", {wow}, wow + "regsvr32.exe", "c:\\program\\comdlg32.ocx"},
      {"C:\\Windows\\SysWOW64\\", {sys, wow}, wow + "regsvr32.exe", wow + "comdlg32.ocx"},
      {"c:\\windows\\syswow64\\", {sys}, sys + "regsvr32.exe", wow + "comdlg32.ocx"},
  };
  for (const Case& c : cases) {
    RunWorld world;
    for (const std::string& folder : c.tools) world.host.files.AddFile(folder + "regsvr32.exe", "20010101");
    world.state.SystemFolder = c.destination;
    engine::RunValues run;
    run.InstalledFlags[1] = 1;
    (void)world.host.lock.Take(std::chrono::milliseconds(0));  // registration runs under the lock
    engine::RegisterInstalledFiles(world.state, run, world.host.system);
    const auto& started = world.host.processes.Started();
    ASSERT_EQ(started.size(), 1u) << c.destination;
    EXPECT_EQ(started[0].program, c.program) << c.destination;
    EXPECT_EQ(started[0].arguments, (std::vector<std::string>{"/s", c.component})) << c.destination;
  }
}
