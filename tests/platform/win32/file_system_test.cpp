#include <algorithm>

#include "temp_folder_test.h"

namespace {

using Strings = std::vector<std::string>;

class Win32FileSystemTest : public TempFolderTest {};

TEST_F(Win32FileSystemTest, LengthIsReadForFilesOnlyUnderEverySpelling) {
  const std::wstring folder = SwedishFolder();
  WriteBytes(folder + L"Fem å.ocx", "12345");
  WriteBytes(folder + L"tom.dll", "");
  ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));

  const struct {
    std::wstring path;
    std::uint64_t length;  // 99: the query must fail
  } cases[] = {
      {folder + L"Fem å.ocx", 5},
      {folder + L"FEM Å.OCX", 5},
      {L"fem å.ocx", 5},  // relative to the current folder
      {L"..\\" + folder.substr(Root().size()) + L"fem å.ocx", 5},
      {folder + L"tom.dll", 0},
      {folder + L"saknas.ocx", 99},
      {folder + L"saknas\\fem å.ocx", 99},
      {Root() + L"Mapp med blanksteg åäö ÅÄÖ", 99},  // a folder
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.path));
    const platform::Result<std::uint64_t> length = files_.FileLength(U8(c.path));
    if (c.length == 99) {
      EXPECT_FALSE(length.ok());
      EXPECT_FALSE(length.status().text().empty());
    } else {
      ASSERT_TRUE(length.ok()) << length.status().text();
      EXPECT_EQ(length.value(), c.length);
    }
  }
}

TEST_F(Win32FileSystemTest, ModificationDateIsTheCalendarDateOrAFailure) {
  const std::wstring folder = SwedishFolder();
  WriteBytes(folder + L"ö.ocx", "x");
  // Noon UTC is the same calendar day in every time zone within eleven hours of UTC.
  SetLastWrite(folder + L"ö.ocx", 2021, 6, 15, 12);

  const platform::Result<std::string> date = files_.ModificationDate(U8(folder + L"Ö.OCX"));
  ASSERT_TRUE(date.ok()) << date.status().text();
  EXPECT_EQ(date.value(), "20210615");

  const platform::Result<std::string> missing = files_.ModificationDate(U8(folder + L"saknas.ocx"));
  EXPECT_FALSE(missing.ok());
  EXPECT_FALSE(missing.status().text().empty());
}

TEST_F(Win32FileSystemTest, MakeFolderCreatesOneLevelAndRefusesWhatExists) {
  const std::string made = U8(SwedishFolder() + L"ny mapp ä");
  const platform::Status first = files_.MakeFolder(made);
  ASSERT_TRUE(first.ok()) << first.text();
  EXPECT_EQ(GetFileAttributesW((SwedishFolder() + L"ny mapp ä").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            DWORD{FILE_ATTRIBUTE_DIRECTORY});

  for (const std::string& path : {made, U8(Root() + L"saknas\\ny")}) {
    SCOPED_TRACE(path);
    const platform::Status again = files_.MakeFolder(path);
    EXPECT_FALSE(again.ok());
    EXPECT_FALSE(again.text().empty());
  }
}

TEST_F(Win32FileSystemTest, SubFoldersAreListedWithoutFilesSortedWithoutRegardToCase) {
  const std::wstring folder = SwedishFolder();
  for (const wchar_t* name : {L"beta", L"Alfa", L"gamma åäö", L"Delta"}) {
    ASSERT_TRUE(CreateDirectoryW((folder + name).c_str(), nullptr));
  }
  WriteBytes(folder + L"cesar.txt", "a file, not a folder");

  for (const std::wstring& spelling : {folder, folder.substr(0, folder.size() - 1)}) {
    const auto listed = files_.SubFolders(U8(spelling));
    ASSERT_TRUE(listed.ok()) << listed.status().text();
    EXPECT_EQ(listed.value(), (Strings{"Alfa", "beta", "Delta", "gamma åäö"}));
  }
  const auto empty = files_.SubFolders(U8(folder + L"Alfa"));
  ASSERT_TRUE(empty.ok()) << empty.status().text();
  EXPECT_TRUE(empty.value().empty());

  const auto missing = files_.SubFolders(U8(folder + L"saknas"));
  EXPECT_FALSE(missing.ok());
  EXPECT_FALSE(missing.status().text().empty());
}

TEST_F(Win32FileSystemTest, DrivesAndTheCurrentFolderOfTheCurrentDrive) {
  const Strings drives = files_.Drives();
  const std::string temp_drive{static_cast<char>(std::tolower(Root()[0])), ':'};
  EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
  EXPECT_NE(std::find(drives.begin(), drives.end(), temp_drive), drives.end()) << temp_drive;
  for (const std::string& drive : drives) {
    EXPECT_TRUE(drive.size() == 2 && std::islower(static_cast<unsigned char>(drive[0])) && drive[1] == ':') << drive;
  }

  const std::wstring folder = SwedishFolder();
  ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
  std::string expected = U8(folder.substr(0, folder.size() - 1));
  expected[0] = static_cast<char>(std::tolower(expected[0]));
  for (const std::string& drive : {temp_drive, U8(folder) + "komp.ocx", std::string("komp.ocx")}) {
    SCOPED_TRACE(drive);
    const platform::Result<std::string> current = files_.DriveCurrentFolder(drive);
    ASSERT_TRUE(current.ok()) << current.status().text();
    EXPECT_EQ(current.value(), expected);
  }
}

TEST_F(Win32FileSystemTest, ADriveThatCannotBeUsedFails) {
  const Strings drives = files_.Drives();
  char unused = 'z';
  while (std::find(drives.begin(), drives.end(), std::string{unused, ':'}) != drives.end()) --unused;
  ASSERT_GT(unused, 'c');
  const std::string drive{unused, ':'};

  const platform::Result<std::string> unknown = files_.DriveCurrentFolder(drive);
  EXPECT_FALSE(unknown.ok());
  EXPECT_FALSE(unknown.status().text().empty());

  // A drive that exists but whose folder does not, as a removable drive without a medium.
  const std::wstring device{static_cast<wchar_t>(std::toupper(unused)), L':'};
  ASSERT_TRUE(DefineDosDeviceW(0, device.c_str(), (Root() + L"borttagen").c_str())) << GetLastError();
  const Strings with_it = files_.Drives();
  const platform::Result<std::string> unusable = files_.DriveCurrentFolder(drive);
  DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
  EXPECT_NE(std::find(with_it.begin(), with_it.end(), drive), with_it.end());
  EXPECT_FALSE(unusable.ok());
  EXPECT_FALSE(unusable.status().text().empty());
}

}  // namespace
