#include <algorithm>

#include "temp_folder_test.h"

namespace {

namespace fs = std::filesystem;
using Win32FileSystemTest = TempFolderTest;

TEST_F(Win32FileSystemTest, LengthAndDateOfFilesUnderEverySpellingAndTheirFailures) {
  WriteBytes(swedish_ + L"Fem å.ocx", "12345");
  WriteBytes(swedish_ + L"tom.dll", "");
  fs::last_write_time(swedish_ + L"Fem å.ocx", Noon(std::chrono::year(2021) / 6 / 15));
  fs::last_write_time(swedish_ + L"tom.dll", Noon(std::chrono::year(2021) / 6 / 15));
  fs::current_path(swedish_);
  const std::pair<std::wstring, int> cases[] = {  // -1: both queries fail
      {swedish_ + L"FEM Å.OCX", 5}, {L"fem å.ocx", 5}, {L"../" + swedish_.substr(root_.size()) + L"fem å.ocx", 5},
      {swedish_ + L"tom.dll", 0}, {swedish_ + L"saknas.ocx", -1}, {swedish_ + L"saknas\\fem å.ocx", -1},
  };
  for (const auto& [path, length] : cases) {
    SCOPED_TRACE(U8(path));
    const platform::Result<std::uint64_t> size = files_.FileLength(U8(path));
    const platform::Result<std::string> date = files_.ModificationDate(U8(path));
    EXPECT_EQ(size.ok() ? static_cast<int>(size.value()) : -1, length) << size.status().text();
    EXPECT_EQ(date.ok() ? date.value() : "", length < 0 ? "" : "20210615") << date.status().text();
    EXPECT_TRUE(size.ok() || (!size.status().text().empty() && !date.status().text().empty()));
  }
  EXPECT_FALSE(files_.FileLength(U8(swedish_)).ok()) << "a folder";
  EXPECT_FALSE(files_.ModificationDate(U8(swedish_)).ok()) << "a folder";
}

TEST_F(Win32FileSystemTest, DrivesAndTheCurrentFolderOfTheCurrentDrive) {
  const std::vector<std::string> drives = files_.Drives();
  const std::string temp_drive{static_cast<char>(std::tolower(root_[0])), ':'};
  EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
  EXPECT_NE(std::find(drives.begin(), drives.end(), temp_drive), drives.end()) << temp_drive;

  fs::current_path(swedish_);
  std::string expected = U8(swedish_.substr(0, swedish_.size() - 1));
  expected[0] = static_cast<char>(std::tolower(expected[0]));
  for (const std::string& drive : {temp_drive, U8(swedish_) + "komp.ocx", std::string("komp.ocx")}) {
    const platform::Result<std::string> current = files_.DriveCurrentFolder(drive);
    EXPECT_EQ(current.ok() ? current.value() : current.status().text(), expected) << drive;
  }
}

}  // namespace
