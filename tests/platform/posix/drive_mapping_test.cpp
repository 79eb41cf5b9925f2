#include "platform/posix/drive_mapping.h"

#include <cerrno>
#include <cstring>

#include "temp_prefix.h"

namespace {

using platform::posix::DriveMapping;

class DriveMappingTest : public TempPrefixTest {
 protected:
  void SetUp() override {
    TempPrefixTest::SetUp();
    std::filesystem::create_directories(DriveC() / "windows" / "syswow64");
    WriteFile(DriveC() / "windows" / "syswow64" / "COMDLG32.OCX", "ocx");
    std::filesystem::create_directories(DriveC() / "Ebrona" / "Säkerhet");
    WriteFile(DriveC() / "Ebrona" / "abc", "lower");
    WriteFile(DriveC() / "Ebrona" / "Abc", "mixed");
    AddDrive("D:", root_ / "data");
    std::filesystem::create_directory_symlink("/", prefix_ / "dosdevices" / "z:");
    // Entries that are no drive: a dangling link, a link to a file, a device name.
    std::filesystem::create_directory_symlink(root_ / "missing", prefix_ / "dosdevices" / "f:");
    WriteFile(root_ / "plain", "x");
    std::filesystem::create_symlink(root_ / "plain", prefix_ / "dosdevices" / "g:");
    std::filesystem::create_directory_symlink(root_ / "data", prefix_ / "dosdevices" / "d::");
  }
};

TEST_F(DriveMappingTest, DrivesAreTheDosdevicesLinksToFolders) {
  const DriveMapping drives = DriveMapping::FromEnvironment();
  EXPECT_EQ(drives.Prefix(), prefix_.string());
  EXPECT_EQ(drives.Drives(), (std::vector<std::string>{"c:", "d:", "z:"}));
}

TEST_F(DriveMappingTest, WindowsPathsFindWhatIsOnDiskWhateverTheCase) {
  const DriveMapping drives = DriveMapping::FromEnvironment();
  const std::string c = DriveC().string();
  const struct {
    std::string windows;
    std::string host;
  } cases[] = {
      {"c:\\windows\\sysWOW64\\", c + "/windows/syswow64"},
      {"c:\\windows\\syswow64\\comdlg32.ocx", c + "/windows/syswow64/COMDLG32.OCX"},
      {"C:/WINDOWS\\SysWow64/Comdlg32.Ocx", c + "/windows/syswow64/COMDLG32.OCX"},
      {"c:\\\\windows\\.\\syswow64\\..\\syswow64\\\\comdlg32.ocx", c + "/windows/syswow64/COMDLG32.OCX"},
      {"c:\\ebrona\\SÄKERHET", c + "/Ebrona/Säkerhet"},
      {"c:\\ebrona\\abc", c + "/Ebrona/abc"},              // the exact match wins
      {"c:\\ebrona\\ABC", c + "/Ebrona/Abc"},              // else the first in byte order
      {"c:\\Windows\\NewFolder\\x.dll", c + "/windows/NewFolder/x.dll"},  // missing: as written
      {"c:\\..\\..\\windows", c + "/windows"},             // never above the drive's root
      {"d:\\kopior", (root_ / "data" / "kopior").string()},
      {"Z:\\usr", "/usr"},
  };
  for (const auto& test : cases) {
    const auto host = drives.ToHost(test.windows);
    ASSERT_TRUE(host.ok()) << test.windows << ": " << host.status().text();
    EXPECT_EQ(host.value(), test.host) << test.windows;
  }
}

TEST_F(DriveMappingTest, PathsWithoutDriveStartAtTheCurrentFolder) {
  std::filesystem::current_path(DriveC() / "windows");
  const DriveMapping drives = DriveMapping::FromEnvironment();
  const std::string c = DriveC().string();
  EXPECT_EQ(drives.ToHost("comdlg32.ocx").value(), c + "/windows/comdlg32.ocx");
  EXPECT_EQ(drives.ToHost("SYSWOW64\\comdlg32.ocx").value(), c + "/windows/syswow64/COMDLG32.OCX");
  EXPECT_EQ(drives.ToHost("\\EBRONA").value(), c + "/Ebrona");
  EXPECT_EQ(drives.ToHost("c:syswow64").value(), c + "/windows/syswow64");  // drive c's current folder
  EXPECT_EQ(drives.ToHost("d:kopior").value(), (root_ / "data" / "kopior").string());  // d: is at its root
}

TEST_F(DriveMappingTest, UnmappedDriveAndEmptyPathFailLikeAMissingPath) {
  const DriveMapping drives = DriveMapping::FromEnvironment();
  for (const std::string path : {"q:\\windows", "f:\\", "g:\\", ""}) {
    const auto host = drives.ToHost(path);
    ASSERT_FALSE(host.ok()) << path;
    EXPECT_EQ(host.status().text(), std::strerror(ENOENT)) << path;
  }
}

TEST_F(DriveMappingTest, HostFoldersShowAsTheDriveWithTheLongestMatch) {
  const DriveMapping drives = DriveMapping::FromEnvironment();
  EXPECT_EQ(drives.ToWindows(DriveC().string()), "c:\\");
  EXPECT_EQ(drives.ToWindows((DriveC() / "windows" / "syswow64").string() + "/"), "c:\\windows\\syswow64");
  EXPECT_EQ(drives.ToWindows((prefix_ / "dosdevices" / "D:").string()), "d:\\");  // links are resolved
  EXPECT_EQ(drives.ToWindows("/usr/share"), "z:\\usr\\share");
  EXPECT_EQ(drives.ToWindows("/"), "z:\\");
  EXPECT_EQ(drives.ToWindows("relative"), std::nullopt);
}

TEST_F(DriveMappingTest, WithoutDosdevicesTheOnlyDriveIsTheHostRoot) {
  std::filesystem::remove_all(prefix_ / "dosdevices");
  const DriveMapping drives = DriveMapping::FromEnvironment();
  EXPECT_EQ(drives.Drives(), std::vector<std::string>{"c:"});
  EXPECT_EQ(drives.ToHost("C:\\tmp").value(), "/tmp");
  EXPECT_EQ(drives.ToWindows("/tmp"), "c:\\tmp");
  EXPECT_FALSE(drives.ToHost("d:\\").ok());
}

TEST_F(DriveMappingTest, AnEmptyWineprefixMeansTheWineFolderInHome) {
  std::filesystem::create_directories(root_ / "home" / ".wine" / "dosdevices");
  AddDrive("h:", root_ / "h");
  std::filesystem::rename(prefix_ / "dosdevices" / "h:", root_ / "home" / ".wine" / "dosdevices" / "h:");
  setenv("WINEPREFIX", "", 1);
  setenv("HOME", (root_ / "home").c_str(), 1);
  const DriveMapping drives = DriveMapping::FromEnvironment();
  EXPECT_EQ(drives.Prefix(), (root_ / "home" / ".wine").string());
  EXPECT_EQ(drives.Drives(), std::vector<std::string>{"h:"});
}

}  // namespace
