#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/window_kit.h"
#include "tests/support/fake_system.h"

namespace {

void NewKit() {
  fake::FakeFileSystem files;
  std::string error;
  const bool made = platform::NewNativeWindowKit(files, error) != nullptr;
  std::fprintf(stderr, "%s|\n", error.c_str());
  std::exit(made ? 1 : 3);
}

// Started without a display the program says so in one line instead of letting Qt abort. Each
// case runs in a fresh process, before any application object exists.
TEST(QtNoDisplayDeathTest, NoDisplayIsOneLineOfOurOwn) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  unsetenv("WAYLAND_DISPLAY");
  const std::string line = "^ebrona-installer: ingen bildskärm att visa fönstren på \\(";
  EXPECT_EXIT((unsetenv("QT_QPA_PLATFORM"), unsetenv("DISPLAY"), NewKit()), testing::ExitedWithCode(3),
              line + "DISPLAY är inte satt\\)\\|\n$");
  // A display that names no server: Qt's fatal message becomes our line, and the exit code 1.
  EXPECT_EXIT((setenv("QT_QPA_PLATFORM", "xcb", 1), setenv("DISPLAY", ":9173", 1), NewKit()),
              testing::ExitedWithCode(1), line + "[^\n]*:9173[^\n]*\\)\n$");
}

}  // namespace
