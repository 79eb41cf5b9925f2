#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>

#include "temp_prefix.h"

namespace {

using platform::posix::DriveMapping;
using platform::posix::PosixFileSystem;

// Every entry below `folder` with its content ("<folder>" for folders), to compare whole states.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = std::filesystem::relative(entry.path(), folder).string();
    entries[name] = entry.is_directory() ? "<folder>" : TempPrefixTest::ReadFile(entry.path());
  }
  return entries;
}

// 12:00 local time of the given day, as a file time.
timespec LocalNoon(int year, int month, int day) {
  std::tm noon{};
  noon.tm_year = year - 1900;
  noon.tm_mon = month - 1;
  noon.tm_mday = day;
  noon.tm_hour = 12;
  noon.tm_isdst = -1;
  return {std::mktime(&noon), 123456789};
}

void SetModificationTime(const std::filesystem::path& path, timespec time) {
  const timespec times[2] = {time, time};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

timespec ModificationTime(const std::filesystem::path& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mtim;
}

class PosixFileSystemTest : public TempPrefixTest {
 protected:
  void SetUp() override {
    TempPrefixTest::SetUp();
    system32_ = DriveC() / "windows" / "system32";
    source_ = DriveC() / "Ebrona" / "comdlg32.ocx";
    WriteFile(source_, "new control");
    SetModificationTime(source_, LocalNoon(2003, 4, 5));
    WriteFile(system32_ / "COMDLG32.OCX", "old control");
    SetModificationTime(system32_ / "COMDLG32.OCX", LocalNoon(1999, 12, 31));
    drives_.emplace(DriveMapping::FromEnvironment());
    files_.emplace(*drives_);
  }

  std::filesystem::path system32_;
  std::filesystem::path source_;
  std::optional<DriveMapping> drives_;
  std::optional<PosixFileSystem> files_;
};

TEST_F(PosixFileSystemTest, LengthAndDateOfFilesAndTheirFailures) {
  EXPECT_EQ(files_->FileLength("c:\\ebrona\\COMDLG32.ocx").value(), 11u);
  EXPECT_EQ(files_->ModificationDate("c:\\windows\\system32\\comdlg32.ocx").value(), "19991231");
  const struct {
    std::string path;
    int error;
  } failures[] = {{"c:\\windows\\system32", EISDIR}, {"c:\\windows\\system32\\missing.dll", ENOENT},
                  {"c:\\windows\\system32\\comdlg32.ocx\\x", ENOTDIR}, {"q:\\x.dll", ENOENT}};
  for (const auto& failure : failures) {
    const auto length = files_->FileLength(failure.path);
    ASSERT_FALSE(length.ok()) << failure.path;
    EXPECT_EQ(length.status().text(), std::strerror(failure.error)) << failure.path;
    const auto date = files_->ModificationDate(failure.path);
    ASSERT_FALSE(date.ok()) << failure.path;
    EXPECT_EQ(date.status().text(), std::strerror(failure.error)) << failure.path;
  }
}

TEST_F(PosixFileSystemTest, CopyReplacesTheFileAndCarriesItsTimeAndMode) {
  chmod(source_.c_str(), 0751);
  ASSERT_TRUE(files_->CopyReplacing("c:\\ebrona\\comdlg32.ocx", "c:\\windows\\system32\\comdlg32.ocx").ok());
  // The existing file is replaced under its own name; nothing else is left in the folder.
  EXPECT_EQ(Snapshot(system32_), (std::map<std::string, std::string>{{"COMDLG32.OCX", "new control"}}));
  const timespec copied = ModificationTime(system32_ / "COMDLG32.OCX");
  EXPECT_EQ(copied.tv_sec, LocalNoon(2003, 4, 5).tv_sec);
  EXPECT_EQ(copied.tv_nsec, LocalNoon(2003, 4, 5).tv_nsec);
  EXPECT_EQ(files_->ModificationDate("c:\\windows\\system32\\comdlg32.ocx").value(), "20030405");
  EXPECT_EQ(std::filesystem::status(system32_ / "COMDLG32.OCX").permissions(),
            static_cast<std::filesystem::perms>(0751));

  ASSERT_TRUE(files_->CopyReplacing("c:\\ebrona\\comdlg32.ocx", "c:\\windows\\system32\\new.ocx").ok());
  EXPECT_EQ(ReadFile(system32_ / "new.ocx"), "new control");
}

TEST_F(PosixFileSystemTest, FailedCopyLeavesTheDestinationAsItWas) {
  std::filesystem::create_directories(system32_ / "folder.ocx");
  // Reading this file fails after the temporary file is made: the failure that must clean up.
  std::filesystem::create_symlink("/proc/self/mem", DriveC() / "Ebrona" / "unreadable.ocx");
  const struct {
    std::string source;
    std::string destination;
    int error;
  } failures[] = {
      {"c:\\ebrona\\comdlg32.ocx", "c:\\windows\\system32\\missing\\comdlg32.ocx", ENOENT},
      {"c:\\ebrona\\comdlg32.ocx", "c:\\windows\\system32\\folder.ocx", EISDIR},
      {"c:\\ebrona\\missing.ocx", "c:\\windows\\system32\\comdlg32.ocx", ENOENT},
      {"c:\\ebrona", "c:\\windows\\system32\\comdlg32.ocx", EISDIR},
      {"c:\\ebrona\\unreadable.ocx", "c:\\windows\\system32\\comdlg32.ocx", EIO},
      {"c:\\ebrona\\comdlg32.ocx", "q:\\comdlg32.ocx", ENOENT},
  };
  const auto before = Snapshot(system32_);
  for (const auto& failure : failures) {
    const platform::Status status = files_->CopyReplacing(failure.source, failure.destination);
    ASSERT_FALSE(status.ok()) << failure.source << " -> " << failure.destination;
    EXPECT_EQ(status.text(), std::strerror(failure.error)) << failure.source << " -> " << failure.destination;
    EXPECT_EQ(Snapshot(system32_), before) << failure.source << " -> " << failure.destination;
    EXPECT_EQ(ModificationTime(system32_ / "COMDLG32.OCX").tv_sec, LocalNoon(1999, 12, 31).tv_sec);
  }
}

TEST_F(PosixFileSystemTest, WhatCannotBeReadOrWrittenFailsWithItsText) {
  if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root from reading or writing";
  AddDrive("d:", root_ / "locked");
  PosixFileSystem files(drives_.emplace(DriveMapping::FromEnvironment()));
  chmod((root_ / "locked").c_str(), 0);
  chmod(source_.c_str(), 0);
  chmod(system32_.c_str(), 0311);  // can be entered, not listed
  EXPECT_EQ(files.FileLength("c:\\ebrona\\comdlg32.ocx").status().text(), std::strerror(EACCES));
  EXPECT_EQ(files.ModificationDate("c:\\ebrona\\comdlg32.ocx").status().text(), std::strerror(EACCES));
  EXPECT_EQ(files.DriveCurrentFolder("d:").status().text(), std::strerror(EACCES));
  EXPECT_EQ(files.SubFolders("c:\\windows\\system32").status().text(), std::strerror(EACCES));
  chmod(system32_.c_str(), 0555);  // read-only: the copy cannot make its temporary file
  const auto before = Snapshot(system32_);
  chmod(source_.c_str(), 0644);
  EXPECT_EQ(files.CopyReplacing("c:\\ebrona\\comdlg32.ocx", "c:\\windows\\system32\\comdlg32.ocx").text(),
            std::strerror(EACCES));
  EXPECT_EQ(Snapshot(system32_), before);
  chmod(system32_.c_str(), 0755);
  chmod((root_ / "locked").c_str(), 0755);
}

TEST_F(PosixFileSystemTest, CopyOntoItselfUnderAnotherSpellingIsRefused) {
  // A backup folder that is the system folder, through a link, and the same file by a second name.
  std::filesystem::create_directory_symlink(system32_, DriveC() / "backup");
  std::filesystem::create_hard_link(system32_ / "COMDLG32.OCX", DriveC() / "Ebrona" / "hardlink.ocx");
  const std::pair<std::string, std::string> copies[] = {
      {"c:\\windows\\system32\\comdlg32.ocx", "C:/WINDOWS/System32/COMDLG32.OCX"},
      {"c:\\windows\\system32\\comdlg32.ocx", "c:\\backup\\comdlg32.ocx"},
      {"c:\\ebrona\\hardlink.ocx", "c:\\windows\\system32\\comdlg32.ocx"},
  };
  const auto before = Snapshot(system32_);
  for (const auto& [source, destination] : copies) {
    const platform::Status status = files_->CopyReplacing(source, destination);
    EXPECT_FALSE(status.ok()) << destination;
    EXPECT_EQ(status.text(), std::strerror(EBUSY));
    EXPECT_EQ(Snapshot(system32_), before) << destination;
  }
}

TEST_F(PosixFileSystemTest, MakeFolderCreatesOneLevelOnce) {
  ASSERT_TRUE(files_->MakeFolder("c:\\windows\\Kopior").ok());
  EXPECT_TRUE(std::filesystem::is_directory(DriveC() / "windows" / "Kopior"));
  EXPECT_EQ(files_->MakeFolder("C:\\WINDOWS\\kopior").text(), std::strerror(EEXIST));
  EXPECT_EQ(files_->MakeFolder("c:\\windows\\a\\b").text(), std::strerror(ENOENT));
}

TEST_F(PosixFileSystemTest, SubFoldersAreSortedWithoutRegardToCase) {
  const auto folder = DriveC() / "list";
  for (const char* name : {"b", "A", "Ö", ".hidden", "c"}) std::filesystem::create_directories(folder / name);
  std::filesystem::create_directory_symlink(folder / "c", folder / "C-link");
  WriteFile(folder / "a-file", "x");
  std::filesystem::create_symlink(folder / "a-file", folder / "file-link");
  const auto names = files_->SubFolders("c:\\LIST\\");
  ASSERT_TRUE(names.ok()) << names.status().text();
  EXPECT_EQ(names.value(), (std::vector<std::string>{".hidden", "A", "b", "c", "C-link", "Ö"}));
  EXPECT_EQ(files_->SubFolders("c:\\missing").status().text(), std::strerror(ENOENT));
}

TEST_F(PosixFileSystemTest, EachDriveHasItsCurrentFolder) {
  AddDrive("d:", root_ / "data");
  AddDrive("e:", root_ / "removed");
  std::filesystem::create_directories(DriveC() / "users" / "Ebrona");
  std::filesystem::current_path(DriveC() / "users" / "Ebrona");
  PosixFileSystem files(drives_.emplace(DriveMapping::FromEnvironment()));
  std::filesystem::remove(root_ / "removed");  // a medium taken out after the drives were read

  EXPECT_EQ(files.Drives(), (std::vector<std::string>{"c:", "d:", "e:"}));
  EXPECT_EQ(files.DriveCurrentFolder("c:").value(), "c:\\users\\Ebrona");
  EXPECT_EQ(files.DriveCurrentFolder("C:\\windows").value(), "c:\\users\\Ebrona");
  EXPECT_EQ(files.DriveCurrentFolder("d:").value(), "d:\\");
  EXPECT_EQ(files.DriveCurrentFolder("e:").status().text(), std::strerror(ENOENT));
  EXPECT_EQ(files.DriveCurrentFolder("q:").status().text(), std::strerror(ENOENT));

  std::filesystem::current_path(root_ / "data");
  EXPECT_EQ(files.DriveCurrentFolder("c:").value(), "c:\\");
  EXPECT_EQ(files.DriveCurrentFolder("d:").value(), "d:\\");
}

}  // namespace
