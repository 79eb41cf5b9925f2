// The program itself, started without a display in a temporary prefix: an unattended installation
// with a log and a registration that fails, then the check.
#include <sys/wait.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/platform/posix/temp_prefix.h"

namespace {

namespace fs = std::filesystem;

// Runs the program through the shell with `arguments`, each quoted, and returns its exit status.
int RunProgram(const std::vector<std::string>& arguments) {
  std::string command = EBRONA_PROGRAM;
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  return WEXITSTATUS(std::system(command.c_str()));
}

using UnattendedProgram = TempPrefixTest;

TEST_F(UnattendedProgram, InstallsWithoutADisplayAndLogsAFailedRegistration) {
  // Were a window kit started, Qt would try this platform and end the program with status 1.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  const fs::path system = DriveC() / "windows" / "system32";
  WriteFile(system / "msvbvm60.dll", "");
  WriteFile(system / "regsvr32.exe", "#!/bin/sh\ncase \"$2\" in *msinet.ocx) exit 5;; esac\n");
  fs::permissions(system / "regsvr32.exe", fs::perms(0755));
  for (const char* name : {"comdlg32.ocx", "msinet.ocx"}) {
    WriteFile(DriveC() / "Ebrona Komponenter" / name, std::string("new ") + name);
    SetDate(DriveC() / "Ebrona Komponenter" / name, 2004, 3, 12);
  }
  fs::create_directories(DriveC() / "loggar");
  const std::vector<std::string> choices = {"/SOURCE=c:\\Ebrona Komponenter", "/COMPONENTS=comdlg32.ocx,msinet.ocx"};

  EXPECT_EQ(RunProgram({"/S", "/LOG=c:\\loggar\\rapport.txt", choices[0], choices[1]}), 3);
  EXPECT_EQ(ReadFile(system / "msinet.ocx"), "new msinet.ocx");
  const std::string log = ReadFile(DriveC() / "loggar" / "rapport.txt");
  EXPECT_EQ(log.rfind("\xEF\xBB\xBFInstallation av systemfiler klar.\r\n", 0), 0u) << log;
  const std::string tail = "c:\\windows\\system32\\msinet.ocx registrerad\r\n\r\n"
                           "c:\\windows\\system32\\msinet.ocx: regsvr32.exe avslutades med kod 5\r\n";
  EXPECT_EQ(log.substr(log.size() - std::min(log.size(), tail.size())), tail);
  EXPECT_EQ(std::distance(fs::directory_iterator(DriveC() / "loggar"), {}), 1) << "a temporary file left";
  EXPECT_EQ(RunProgram({"/CHECK", choices[0], choices[1]}), 0);
}

}  // namespace
