// The program itself, started without a display in a temporary prefix: the check, an unattended
// installation with a log and a registration that fails, and the check again.
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "tests/platform/posix/temp_prefix.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs the program with `arguments` and returns its exit status.
int RunProgram(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), EBRONA_PROGRAM);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

using UnattendedProgram = TempPrefixTest;

TEST_F(UnattendedProgram, InstallsWithoutADisplayLogsAFailedRegistrationAndChecksAfterwards) {
  // Were a window kit started, Qt would try this platform and end the program with status 1.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  const fs::path system = DriveC() / "windows" / "system32";
  WriteFile(system / "msvbvm60.dll", "");
  WriteFile(system / "regsvr32.exe", "#!/bin/sh\ncase \"$2\" in *msinet.ocx) exit 5;; esac\n");
  fs::permissions(system / "regsvr32.exe", fs::perms(0755));
  const fs::path components = DriveC() / "Ebrona Komponenter";
  const char* names[] = {"comdlg32.ocx", "msinet.ocx"};
  for (const char* name : names) {
    WriteFile(components / name, std::string("new ") + name);
    SetDate(components / name, 2004, 3, 12);
  }
  fs::create_directories(DriveC() / "loggar");
  const std::vector<std::string> choices = {"/SOURCE=c:\\Ebrona Komponenter", "/COMPONENTS=comdlg32.ocx,msinet.ocx"};
  const auto with = [&choices](std::vector<std::string> more) {
    more.insert(more.end(), choices.begin(), choices.end());
    return more;
  };

  EXPECT_EQ(RunProgram(with({"/CHECK"})), 1);
  EXPECT_FALSE(fs::exists(system / "comdlg32.ocx"));
  EXPECT_EQ(RunProgram(with({"/S", "/LOG=c:\\loggar\\rapport.txt"})), 3);
  EXPECT_EQ(ReadFile(system / "msinet.ocx"), "new msinet.ocx");
  const std::string log = ReadFile(DriveC() / "loggar" / "rapport.txt");
  EXPECT_EQ(log.rfind("\xEF\xBB\xBFInstallation av systemfiler klar.\r\n", 0), 0u) << log;
  const std::string tail = "c:\\windows\\system32\\msinet.ocx registrerad\r\n\r\n"
                           "c:\\windows\\system32\\msinet.ocx: regsvr32.exe avslutades med kod 5\r\n";
  EXPECT_EQ(log.substr(log.size() - std::min(log.size(), tail.size())), tail);
  EXPECT_EQ(std::distance(fs::directory_iterator(DriveC() / "loggar"), {}), 1) << "a temporary file left";
  EXPECT_EQ(RunProgram(with({"/CHECK"})), 0);
}

}  // namespace
