#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/window_kit.h"
#include "tests/support/fake_system.h"

namespace {

// The program started without a display says so in one line instead of letting Qt abort. Each case
// runs in a fresh process, before any application object exists.
TEST(QtNoDisplayDeathTest, NoDisplayIsOneLineOfOurOwn) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        unsetenv("QT_QPA_PLATFORM");
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        fake::FakeFileSystem files;
        std::string error;
        const bool made = platform::NewNativeWindowKit(files, error) != nullptr;
        std::fprintf(stderr, "%s|\n", error.c_str());
        std::exit(made ? 1 : 3);
      },
      testing::ExitedWithCode(3), "^ebrona-installer: ingen bildskärm att visa fönstren på \\(DISPLAY är inte satt\\)\\|\n$");
  // A display that names no server: Qt's fatal message becomes our line, and the exit code 1.
  EXPECT_EXIT(
      {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("DISPLAY", ":9173", 1);
        unsetenv("WAYLAND_DISPLAY");
        fake::FakeFileSystem files;
        std::string error;
        platform::NewNativeWindowKit(files, error);
        std::exit(0);
      },
      testing::ExitedWithCode(1), "^ebrona-installer: ingen bildskärm att visa fönstren på \\([^\n]*:9173[^\n]*\\)\n$");
}

}  // namespace
