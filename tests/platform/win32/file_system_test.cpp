#include <algorithm>

#include "temp_folder_test.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class Win32FileSystemTest : public TempFolderTest {
 protected:
  template <class T>
  static void ExpectFailure(const platform::Result<T>& result) {
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.status().text().empty());
  }
};

TEST_F(Win32FileSystemTest, LengthIsReadForFilesOnlyUnderEverySpelling) {
  const std::wstring folder = SwedishFolder();
  WriteBytes(folder + L"Fem å.ocx", "12345");
  WriteBytes(folder + L"tom.dll", "");
  fs::current_path(folder);

  const struct {
    std::wstring path;
    int length;  // -1: the query fails
  } cases[] = {
      {folder + L"FEM Å.OCX", 5},
      {L"fem å.ocx", 5},  // relative to the current folder
      {L"../" + folder.substr(Root().size()) + L"fem å.ocx", 5},
      {folder + L"tom.dll", 0},
      {folder + L"saknas.ocx", -1},
      {folder + L"saknas\\fem å.ocx", -1},
      {Root() + L"Mapp med blanksteg åäö ÅÄÖ", -1},  // a folder
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.path));
    const platform::Result<std::uint64_t> length = files_.FileLength(U8(c.path));
    if (c.length < 0) {
      ExpectFailure(length);
    } else {
      ASSERT_TRUE(length.ok()) << length.status().text();
      EXPECT_EQ(length.value(), static_cast<std::uint64_t>(c.length));
    }
  }
}

TEST_F(Win32FileSystemTest, ModificationDateIsTheCalendarDateOrAFailure) {
  WriteBytes(SwedishFolder() + L"ö.ocx", "x");
  // Noon UTC is the same calendar day in every time zone within eleven hours of UTC.
  fs::last_write_time(SwedishFolder() + L"ö.ocx", Noon(std::chrono::year(2021) / 6 / 15));

  const platform::Result<std::string> date = files_.ModificationDate(U8(SwedishFolder() + L"Ö.OCX"));
  EXPECT_EQ(date.ok() ? date.value() : date.status().text(), "20210615");
  ExpectFailure(files_.ModificationDate(U8(SwedishFolder() + L"saknas.ocx")));
}

TEST_F(Win32FileSystemTest, MakeFolderCreatesOneLevelAndRefusesWhatExists) {
  const std::string made = U8(SwedishFolder() + L"ny mapp ä");
  const platform::Status first = files_.MakeFolder(made);
  ASSERT_TRUE(first.ok()) << first.text();
  EXPECT_TRUE(fs::is_directory(SwedishFolder() + L"ny mapp ä"));

  for (const std::string& path : {made, U8(Root() + L"saknas\\ny")}) {
    const platform::Status again = files_.MakeFolder(path);
    EXPECT_FALSE(again.ok()) << path;
    EXPECT_FALSE(again.text().empty()) << path;
  }
}

TEST_F(Win32FileSystemTest, SubFoldersAreListedWithoutFilesSortedWithoutRegardToCase) {
  const std::wstring folder = SwedishFolder();
  for (const wchar_t* name : {L"beta", L"Alfa", L"gamma åäö", L"Delta"}) fs::create_directory(folder + name);
  WriteBytes(folder + L"cesar.txt", "a file, not a folder");

  for (const std::wstring& spelling : {folder, folder.substr(0, folder.size() - 1)}) {
    const auto listed = files_.SubFolders(U8(spelling));
    EXPECT_EQ(listed.ok() ? listed.value() : Strings{listed.status().text()},
              (Strings{"Alfa", "beta", "Delta", "gamma åäö"}));
  }
  ExpectFailure(files_.SubFolders(U8(folder + L"saknas")));
}

TEST_F(Win32FileSystemTest, DrivesAndTheCurrentFolderOfTheCurrentDrive) {
  const Strings drives = files_.Drives();
  const std::string temp_drive{static_cast<char>(std::tolower(Root()[0])), ':'};
  EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
  EXPECT_NE(std::find(drives.begin(), drives.end(), temp_drive), drives.end()) << temp_drive;

  const std::wstring folder = SwedishFolder();
  fs::current_path(folder);
  std::string expected = U8(folder.substr(0, folder.size() - 1));
  expected[0] = static_cast<char>(std::tolower(expected[0]));
  for (const std::string& drive : {temp_drive, U8(folder) + "komp.ocx", std::string("komp.ocx")}) {
    const platform::Result<std::string> current = files_.DriveCurrentFolder(drive);
    EXPECT_EQ(current.ok() ? current.value() : current.status().text(), expected) << drive;
  }
}

TEST_F(Win32FileSystemTest, ADriveThatCannotBeUsedFails) {
  const Strings drives = files_.Drives();
  char unused = 'z';
  while (std::find(drives.begin(), drives.end(), std::string{unused, ':'}) != drives.end()) --unused;
  ASSERT_GT(unused, 'c');
  const std::string drive{unused, ':'};
  ExpectFailure(files_.DriveCurrentFolder(drive));

  // A drive that exists but whose folder does not, as a removable drive without a medium.
  const std::wstring device{static_cast<wchar_t>(std::toupper(unused)), L':'};
  ASSERT_TRUE(DefineDosDeviceW(0, device.c_str(), (Root() + L"borttagen").c_str())) << GetLastError();
  const Strings with_it = files_.Drives();
  const platform::Result<std::string> unusable = files_.DriveCurrentFolder(drive);
  DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
  EXPECT_NE(std::find(with_it.begin(), with_it.end(), drive), with_it.end());
  ExpectFailure(unusable);
}

}  // namespace
