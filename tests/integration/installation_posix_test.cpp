// A whole installation run on the real POSIX platform: the engine wired to the real files in a
// Wine-style prefix, with folder names that hold blanks, Swedish letters and mixed separators.
#include <filesystem>

#include <gtest/gtest.h>

#include "engine/installation_run.h"
#include "engine/system_folder_detection.h"
#include "platform/posix/drive_mapping.h"
#include "platform/posix/posix_file_system.h"
#include "tests/engine/run_fixture.h"
#include "tests/platform/posix/temp_prefix.h"

namespace fs = std::filesystem;

TEST_F(TempPrefixTest, RealInstallationReplacesOlderFilesWithBackupsInFoldersWithAwkwardNames) {
  const fs::path components = DriveC() / "Ebrona Komponenter", system = DriveC() / "Windows" / "SysWOW64";
  const fs::path backup = DriveC() / "Kopior med blanksteg, åäö";
  engine::InstallerState state;
  engine::FillCatalogue(state);
  state.ComponentCount = engine::kInstalledComponentCount;
  for (int i = 1; i <= 8; ++i) {
    WriteFile(components / state.ComponentCatalogue[i], "new " + state.ComponentCatalogue[i]);
    SetDate(components / state.ComponentCatalogue[i], 2004, 3, 12);
  }
  fs::current_path(components);
  fs::create_directories(backup);
  WriteFile(system / "MSVBVM60.DLL", "");
  WriteFile(system / "COMDLG32.OCX", "old comdlg32");
  SetDate(system / "COMDLG32.OCX", 1999, 5, 5);
  WriteFile(system / "msflxgrd.ocx", "same day");
  SetDate(system / "msflxgrd.ocx", 2004, 3, 12);
  WriteFile(system / "regsvr32.exe", "");

  const platform::posix::DriveMapping drives = platform::posix::DriveMapping::FromEnvironment();
  platform::posix::PosixFileSystem files(drives);
  fake::FakeSystem host;
  platform::System real{files, host.processes, host.clock, host.end};
  engine::DetectSystemFolder(state, files);
  ASSERT_EQ(state.SystemFolder, "c:\\windows\\sysWOW64\\");
  FakeHost window;
  const std::string report =
      engine::RunInstallation(state, "  c:/windows\\sysWOW64  ", "c:\\kopior med blanksteg, ÅÄÖ\\", window, real)
          .value_or("refused");

  EXPECT_NE(report.find("comdlg32.ocx  20040312  \tBefintlig fil: 19990505  (kopierad)  \tInlagd \r\n"),
            std::string::npos) << report;
  EXPECT_NE(report.find("msflxgrd.ocx  20040312  \tBefintlig fil: 20040312  (ej ersatt)\r\n"), std::string::npos);
  EXPECT_EQ(ReadFile(system / "COMDLG32.OCX"), "new comdlg32.ocx");
  EXPECT_EQ(ReadFile(backup / "comdlg32.ocx"), "old comdlg32") << "a new file takes the name as written";
  EXPECT_EQ(ReadFile(system / "msflxgrd.ocx"), "same day");
  EXPECT_EQ(ReadFile(system / "pdf_itb.ocx"), "new pdf_itb.ocx");
  EXPECT_EQ(host.processes.Started().size(), 7u);
  EXPECT_EQ(report.rfind("Installation av systemfiler klar.\r\n\r\n", 0), 0u);
}
