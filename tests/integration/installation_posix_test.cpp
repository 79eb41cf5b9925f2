// Whole installation runs on the real file system: awkward folder strings and broken folders end
// as report lines, and no file changes beyond what the report says.
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "engine/installation_run.h"
#include "engine/system_folder_detection.h"
#include "platform/posix/drive_mapping.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_process_launcher.h"
#include "tests/platform/posix/temp_prefix.h"
#include "tests/support/fake_system.h"

namespace fs = std::filesystem;

namespace {

class AllTicked : public engine::RunHost {
 public:
  std::int16_t CheckValue(int) const override { return 1; }
  void ShowWarning(const std::string& prompt, const std::string&) override { warnings.push_back(prompt); }
  std::vector<std::string> warnings;
};

// Every regular file below `root` with its content.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file() && !entry.is_symlink()) {
      files[entry.path().string()] = TempPrefixTest::ReadFile(entry.path());
    }
  }
  return files;
}

}  // namespace

class RealInstallation : public TempPrefixTest {
 protected:
  void SetUp() override {
    TempPrefixTest::SetUp();
    components_ = DriveC() / "Ebrona Komponenter";
    fs::create_directories(components_);
    fs::current_path(components_);
    engine::FillCatalogue(state_);
    state_.ComponentCount = engine::kInstalledComponentCount;
    for (int i = 1; i <= 8; ++i) {
      WriteFile(components_ / state_.ComponentCatalogue[i], "new " + state_.ComponentCatalogue[i]);
      SetDate(components_ / state_.ComponentCatalogue[i], 2004, 3, 12);
    }
  }

  // Runs with the real files, a recording stand-in for process starts and a fast clock.
  platform::posix::PosixFileSystem Files() {
    drives_.emplace(platform::posix::DriveMapping::FromEnvironment());
    return platform::posix::PosixFileSystem(*drives_);
  }

  std::string Run(const std::string& destination, const std::string& backup) {
    platform::posix::PosixFileSystem files = Files();
    platform::System system{files, processes_, clock_, end_};
    AllTicked window;
    auto report = engine::RunInstallation(state_, destination, backup, window, system);
    EXPECT_TRUE(report.has_value());
    return report.value_or("");
  }

  fs::path components_;
  engine::InstallerState state_;
  std::optional<platform::posix::DriveMapping> drives_;
  fake::FakeProcessLauncher processes_;
  fake::ScriptedClock clock_{100.0, 0.1};
  fake::FakeProgramEnd end_;
};

TEST_F(RealInstallation, ReplacesOlderFilesWithBackupsInFoldersWithAwkwardNames) {
  const fs::path system = DriveC() / "Windows" / "SysWOW64";
  const fs::path backup = DriveC() / "Kopior med blanksteg, åäö";
  fs::create_directories(backup);
  WriteFile(system / "MSVBVM60.DLL", "");
  WriteFile(system / "COMDLG32.OCX", "old comdlg32");
  SetDate(system / "COMDLG32.OCX", 1999, 5, 5);
  WriteFile(system / "msflxgrd.ocx", "same day");
  SetDate(system / "msflxgrd.ocx", 2004, 3, 12);
  WriteFile(system / "regsvr32.exe", "");

  platform::posix::PosixFileSystem files = Files();
  engine::DetectSystemFolder(state_, files);
  ASSERT_EQ(state_.SystemFolder, "c:\\windows\\sysWOW64\\");

  const std::string report = Run("  c:/windows\\sysWOW64  ", "c:\\kopior med blanksteg, ÅÄÖ\\");
  EXPECT_NE(report.find("comdlg32.ocx  20040312  \tBefintlig fil: 19990505  (kopierad)  \tInlagd \r\n"),
            std::string::npos) << report;
  EXPECT_NE(report.find("msflxgrd.ocx  20040312  \tBefintlig fil: 20040312  (ej ersatt)\r\n"), std::string::npos);
  EXPECT_EQ(ReadFile(system / "COMDLG32.OCX"), "new comdlg32.ocx");
  EXPECT_EQ(ReadFile(backup / "comdlg32.ocx"), "old comdlg32") << "a new file takes the name as written";
  EXPECT_EQ(ReadFile(system / "msflxgrd.ocx"), "same day");
  EXPECT_EQ(ReadFile(system / "pdf_itb.ocx"), "new pdf_itb.ocx");
  EXPECT_EQ(processes_.Started().size(), 7u);
  EXPECT_EQ(report.rfind("Installation av systemfiler klar.\r\n\r\n", 0), 0u);
}

TEST_F(RealInstallation, BrokenDestinationsAndBackupsChangeNothingTheReportDoesNotName) {
  const fs::path system = DriveC() / "windows" / "system32";
  WriteFile(system / "comdlg32.ocx", "old comdlg32");
  SetDate(system / "comdlg32.ocx", 1999, 5, 5);
  WriteFile(DriveC() / "a file", "not a folder");
  fs::create_directories(system / "msinet.ocx");  // a folder where a component should be
  fs::remove(components_ / "tabctl32.ocx");
  fs::create_directories(components_ / "tabctl32.ocx");
  const std::string too_long = "c:\\" + std::string(5000, 'x') + "\\";

  struct Case {
    std::string destination, backup, expected;
  };
  const Case cases[] = {
      {"c:\\windows\\system32\\", "c:\\saknas\\", "KOPIERING TILL c:\\saknas\\ MISSLYCKADES, FILEN ERSÄTTS EJ. "},
      {"c:\\windows\\system32\\", "c:\\a file\\", "KOPIERING TILL c:\\a file\\ MISSLYCKADES, FILEN ERSÄTTS EJ. "},
      {"c:\\windows\\system32\\", "c:\\WINDOWS\\system32", "KOPIERING TILL c:\\WINDOWS\\system32\\ MISSLYCKADES"},
      {"q:\\windows\\", "", "INGA FILER KUNDE INSTALLERAS."},
      {"c:\\a file\\", "", "INGA FILER KUNDE INSTALLERAS."},
      {"\tc:\\windows\\system32\\", "", "INGA FILER KUNDE INSTALLERAS."},
      {too_long, "", "INGA FILER KUNDE INSTALLERAS."},
  };
  for (const Case& c : cases) {
    const auto before = Snapshot(DriveC());
    const std::string report = Run(c.destination, c.backup);
    EXPECT_NE(report.find(c.expected), std::string::npos) << c.destination << " | " << report;
    // A component that is a folder is no source, and a folder in the way is never replaced.
    EXPECT_NE(report.find("tabctl32.ocx  KÄLLFIL SAKNAS\r\n"), std::string::npos) << report;
    EXPECT_TRUE(fs::is_directory(system / "msinet.ocx"));
    EXPECT_EQ(ReadFile(system / "comdlg32.ocx"), "old comdlg32") << c.destination;
    for (const auto& [path, content] : Snapshot(DriveC())) {
      const auto old = before.find(path);
      if (old != before.end() && old->second == content) continue;
      const std::string name = fs::path(path).filename().string();
      EXPECT_NE(report.find(name + "  20040312  \tInlagd "), std::string::npos)
          << path << " changed without an \"Inlagd\" line:\n" << report;
    }
  }
}
