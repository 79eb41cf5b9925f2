// The program itself, started without a display in a temporary prefix: the engine wired to the
// real files and processes. An unattended installation into the system folder it finds, over
// folder names with blanks, Swedish letters and mixed separators, with a backup, a log and a
// registration that fails; then the check.
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

TEST_F(UnattendedProgram, InstallsIntoTheFoundSystemFolderWithBackupsAndLogsTheReport) {
  // Were a window kit started, Qt would try this platform and end the program with status 1.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  const fs::path system = DriveC() / "Windows" / "SysWOW64", backup = DriveC() / "Kopior med blanksteg, åäö";
  WriteFile(system / "MSVBVM60.DLL", "");
  WriteFile(system / "regsvr32.exe", "#!/bin/sh\ncase \"$2\" in *msinet.ocx) exit 5;; esac\n");
  fs::permissions(system / "regsvr32.exe", fs::perms(0755));
  WriteFile(system / "COMDLG32.OCX", "old comdlg32");
  SetDate(system / "COMDLG32.OCX", 1999, 5, 5);
  WriteFile(system / "msflxgrd.ocx", "same day");
  SetDate(system / "msflxgrd.ocx", 2004, 3, 12);
  for (const char* name : {"comdlg32.ocx", "msflxgrd.ocx", "msinet.ocx", "pdf_itb.ocx"}) {
    WriteFile(DriveC() / "Ebrona Komponenter" / name, std::string("new ") + name);
    SetDate(DriveC() / "Ebrona Komponenter" / name, 2004, 3, 12);
  }
  fs::create_directories(backup);
  fs::create_directories(DriveC() / "loggar");
  const std::vector<std::string> choices = {"/SOURCE=c:/Ebrona Komponenter",
                                            "/COMPONENTS=comdlg32.ocx,msflxgrd.ocx,msinet.ocx,pdf_itb.ocx"};

  EXPECT_EQ(RunProgram({"/S", "/LOG=c:\\loggar\\rapport.txt", "/BACKUP=c:\\kopior med blanksteg, ÅÄÖ\\", choices[0],
                        choices[1]}), 3);
  EXPECT_EQ(ReadFile(system / "COMDLG32.OCX"), "new comdlg32.ocx");
  EXPECT_EQ(ReadFile(backup / "comdlg32.ocx"), "old comdlg32") << "a new file takes the name as written";
  EXPECT_EQ(ReadFile(system / "msflxgrd.ocx"), "same day");
  EXPECT_EQ(ReadFile(system / "pdf_itb.ocx"), "new pdf_itb.ocx");
  const std::string sys = "c:\\windows\\sysWOW64\\";
  EXPECT_EQ(ReadFile(DriveC() / "loggar" / "rapport.txt"),
            "\xEF\xBB\xBFInstallation av systemfiler klar.\r\n\r\n"
            "comdlg32.ocx  20040312  \tBefintlig fil: 19990505  (kopierad)  \tInlagd \r\n"
            "msflxgrd.ocx  20040312  \tBefintlig fil: 20040312  (ej ersatt)\r\n"
            "msinet.ocx  20040312  \tInlagd \r\npdf_itb.ocx  20040312  \tInlagd \r\n\r\n" +
                sys + "comdlg32.ocx registrerad\r\n" + sys + "msinet.ocx registrerad\r\n" + sys +
                "pdf_itb.ocx registrerad\r\n\r\n" + sys + "msinet.ocx: regsvr32.exe avslutades med kod 5\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(DriveC() / "loggar"), {}), 1) << "a temporary file left";
  EXPECT_EQ(RunProgram({"/CHECK", choices[0], choices[1]}), 0);
}

}  // namespace
