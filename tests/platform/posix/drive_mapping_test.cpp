#include "platform/posix/drive_mapping.h"

#include <cerrno>
#include <cstring>

#include "temp_prefix.h"

namespace {

using platform::posix::DriveMapping;
using DriveMappingTest = TempPrefixTest;

TEST_F(DriveMappingTest, WindowsPathsFindWhatIsOnDiskWhateverTheCaseAndBack) {
  WriteFile(DriveC() / "windows" / "syswow64" / "COMDLG32.OCX", "ocx");
  WriteFile(DriveC() / "Ebrona" / "abc", "lower");
  WriteFile(DriveC() / "Ebrona" / "Abc", "mixed");
  WriteFile(DriveC() / "Ebrona" / "÷", "division sign");
  std::filesystem::create_directories(DriveC() / "Ebrona" / "Säkerhet" / "zon");
  // "d:" and "D:" name one drive: the lower-case entry wins, whichever of the two is read first.
  for (const char letter : {'d', 'e', 'g', 'h'}) {
    AddDrive({static_cast<char>(letter - 'a' + 'A'), ':'}, root_ / "upper");
    AddDrive({letter, ':'}, root_ / "data");
  }
  AddDrive("z:", "/");
  std::filesystem::create_directory_symlink(root_ / "missing", prefix_ / "dosdevices" / "f:");  // dangling
  std::filesystem::current_path(DriveC() / "windows");
  const DriveMapping drives = DriveMapping::FromEnvironment();
  EXPECT_EQ(drives.Drives(), (std::vector<std::string>{"c:", "d:", "e:", "g:", "h:", "z:"}));
  for (const char letter : {'d', 'e', 'g', 'h'}) EXPECT_EQ(*drives.DriveFolder(letter), (root_ / "data").string());

  const std::string c = DriveC().string(), d = (root_ / "data").string();
  const std::pair<std::string, std::string> cases[] = {
      {"C:/WINDOWS\\SysWow64/Comdlg32.Ocx", c + "/windows/syswow64/COMDLG32.OCX"},
      {"c:\\ebrona\\SÄKERHET\\ZON", c + "/Ebrona/Säkerhet/zon"},
      {"c:\\ebrona\\abc", c + "/Ebrona/abc"},  // the exact match wins
      {"c:\\ebrona\\ABC", c + "/Ebrona/Abc"},  // else the first in byte order
      {"c:\\Windows\\NewFolder\\x.dll", c + "/windows/NewFolder/x.dll"},  // missing: as written
      {"c:\\ebrona\\×", c + "/Ebrona/×"},  // the multiplication sign has no other case
      {"c:\\..\\..\\windows\\.\\", c + "/windows"},  // never above the drive's root
      {"Z:\\usr", "/usr"},
      {"SYSWOW64\\comdlg32.ocx", c + "/windows/syswow64/COMDLG32.OCX"},  // from the current folder
      {"\\EBRONA", c + "/Ebrona"},              // from the current drive's root
      {"C:syswow64", c + "/windows/syswow64"},  // from drive c's current folder
      {"c:\\", c},
      {"d:kopior", d + "/kopior"},              // d: is at its root
      {"q:\\windows", std::strerror(ENOENT)}, {"f:\\", std::strerror(ENOENT)}, {"", std::strerror(ENOENT)},
  };
  for (const auto& [windows, host] : cases) {
    const auto result = drives.ToHost(windows);
    EXPECT_EQ(result.ok() ? result.value() : result.status().text(), host) << windows;
  }
  // Back again, with the drive whose folder is the longest match.
  EXPECT_EQ(drives.ToWindows(c + "/windows/syswow64/"), "c:\\windows\\syswow64");
  EXPECT_EQ(drives.ToWindows("/usr/share"), "z:\\usr\\share");
  EXPECT_EQ(drives.ToWindows("relative"), std::nullopt);
  // Not on d:, whose folder is "data", but in the root folder's place on z:.
  EXPECT_EQ(drives.ToWindows(root_.string() + "/data2"), drives.ToWindows(root_.string()).value_or("?") + "\\data2");
}

}  // namespace
