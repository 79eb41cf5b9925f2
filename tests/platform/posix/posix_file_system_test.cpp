#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <tuple>

#include "temp_prefix.h"

namespace {

namespace fs = std::filesystem;
using platform::posix::DriveMapping;
using platform::posix::PosixFileSystem;

// Every entry below `folder` with its content ("<folder>" for folders), to compare whole states.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    entries[fs::relative(entry, folder)] = entry.is_directory() ? "<folder>" : TempPrefixTest::ReadFile(entry);
  }
  return entries;
}

class PosixFileSystemTest : public TempPrefixTest {
 protected:
  void SetUp() override {
    TempPrefixTest::SetUp();
    system32_ = DriveC() / "windows" / "system32";
    WriteFile(DriveC() / "Ebrona" / "comdlg32.ocx", "new control");
    SetDate(DriveC() / "Ebrona" / "comdlg32.ocx", 2003, 4, 5);
    WriteFile(system32_ / "COMDLG32.OCX", "old control");
    SetDate(system32_ / "COMDLG32.OCX", 1999, 12, 31);
    files_.emplace(drives_.emplace(DriveMapping::FromEnvironment()));
  }

  fs::path system32_;
  std::optional<DriveMapping> drives_;
  std::optional<PosixFileSystem> files_;
};

TEST_F(PosixFileSystemTest, LengthAndDateOfFilesAndTheirFailures) {
  EXPECT_EQ(files_->FileLength("c:\\ebrona\\COMDLG32.ocx").value(), 11u);
  EXPECT_EQ(files_->ModificationDate("c:\\windows\\system32\\comdlg32.ocx").value(), "19991231");
  // The date needs no right to read the file: not even root can open a socket's name.
  sockaddr_un address{AF_UNIX, {}};
  std::strcpy(address.sun_path, (system32_ / "socket.ocx").c_str());
  const int server = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << std::strerror(errno);
  close(server);
  SetDate(system32_ / "socket.ocx", 2003, 4, 5);
  const auto socket_date = files_->ModificationDate("c:\\windows\\system32\\socket.ocx");
  EXPECT_EQ(socket_date.ok() ? socket_date.value() : socket_date.status().text(), "20030405");
  const std::pair<std::string, int> failures[] = {
      {"c:\\windows\\system32", EISDIR}, {"c:\\windows\\system32\\missing.dll", ENOENT}, {"q:\\x.dll", ENOENT}};
  for (const auto& [path, error] : failures) {
    EXPECT_EQ(files_->FileLength(path).status().text(), std::strerror(error)) << path;
    EXPECT_EQ(files_->ModificationDate(path).status().text(), std::strerror(error)) << path;
  }
}

TEST_F(PosixFileSystemTest, CopyReplacesTheFileAndCarriesItsTime) {
  // What interrupted copies left: the leftover of this file goes, its look-alikes and the
  // temporary file of a copy under way (it holds a lock) stay.
  const std::map<std::string, std::string> kept = {
      {".COMDLG32.OCX.ebrona-abc12", "x"},  {".COMDLG32.OCX.ebrona-abc123.tmp", "x"},
      {"COMDLG32.OCX.ebrona-abc123", "x"},  {".MSINET.OCX.ebrona-abc123", "x"},
      {".COMDLG32.OCX.ebrona-abc-12", "x"}, {".COMDLG32.OCX.ebrona-Busy00", "x"}};
  for (const auto& [name, content] : kept) WriteFile(system32_ / name, content);
  WriteFile(system32_ / ".COMDLG32.OCX.ebrona-xY9abc", "half a copy");
  const int busy = open((system32_ / ".COMDLG32.OCX.ebrona-Busy00").c_str(), O_RDONLY);
  ASSERT_EQ(flock(busy, LOCK_EX), 0);
  fs::permissions(DriveC() / "Ebrona" / "comdlg32.ocx", fs::perms(0640));
  ASSERT_TRUE(files_->CopyReplacing("c:\\ebrona\\comdlg32.ocx", "c:\\windows\\system32\\comdlg32.ocx").ok());
  close(busy);
  // The existing file is replaced under its own name; nothing else is left in the folder.
  auto expected = kept;
  expected["COMDLG32.OCX"] = "new control";
  EXPECT_EQ(Snapshot(system32_), expected);
  EXPECT_EQ(fs::last_write_time(system32_ / "COMDLG32.OCX"), fs::last_write_time(DriveC() / "Ebrona" / "comdlg32.ocx"));
  EXPECT_EQ(fs::status(system32_ / "COMDLG32.OCX").permissions(), fs::perms(0640)) << "the source's mode";
}

TEST_F(PosixFileSystemTest, FailedCopyLeavesTheDestinationAsItWas) {
  fs::create_directories(system32_ / "folder.ocx");
  // Reading this file fails after the temporary file is made: the failure that must clean up.
  fs::create_symlink("/proc/self/mem", DriveC() / "Ebrona" / "unreadable.ocx");
  // The file itself under another spelling: through a link to its folder, or by a second name.
  fs::create_directory_symlink(system32_, DriveC() / "backup");
  fs::create_hard_link(system32_ / "COMDLG32.OCX", DriveC() / "Ebrona" / "hardlink.ocx");
  // Read-only: no write bit at all, which root too must respect.
  WriteFile(system32_ / "readonly.ocx", "old control");
  fs::permissions(system32_ / "readonly.ocx", fs::perms::owner_read | fs::perms::group_read);
  const std::string comdlg32 = "c:\\windows\\system32\\comdlg32.ocx", source = "c:\\ebrona\\comdlg32.ocx";
  const std::tuple<std::string, std::string, int> copies[] = {
      {source, "c:\\windows\\system32\\missing\\comdlg32.ocx", ENOENT},
      {source, "c:\\windows\\system32\\folder.ocx", EISDIR}, {source, "q:\\comdlg32.ocx", ENOENT},
      {"c:\\ebrona\\missing.ocx", comdlg32, ENOENT}, {"c:\\ebrona", comdlg32, EISDIR},
      {"c:\\ebrona\\unreadable.ocx", comdlg32, EIO},
      {comdlg32, "C:/WINDOWS/System32/COMDLG32.OCX", EBUSY}, {comdlg32, "c:\\backup\\comdlg32.ocx", EBUSY},
      {"c:\\ebrona\\hardlink.ocx", comdlg32, EBUSY}, {source, "c:\\windows\\system32\\readonly.ocx", EACCES},
  };
  const auto before = Snapshot(system32_);
  for (const auto& [from, to, error] : copies) {
    EXPECT_EQ(files_->SameFile(from, to), error == EBUSY) << from << " -> " << to;
    EXPECT_EQ(files_->CopyReplacing(from, to).text(), std::strerror(error)) << from << " -> " << to;
    EXPECT_EQ(Snapshot(system32_), before) << from << " -> " << to;
  }
}

TEST_F(PosixFileSystemTest, SubFoldersAndTheCurrentFolderOfEachDrive) {
  for (const char* name : {"b", "A", "Ö", "c"}) fs::create_directories(DriveC() / "list" / name);
  fs::create_directory_symlink(DriveC() / "list" / "c", DriveC() / "list" / "C-link");
  WriteFile(DriveC() / "list" / "a-file", "x");
  const auto names = files_->SubFolders("c:\\LIST\\");
  EXPECT_EQ(names.ok() ? names.value() : std::vector{names.status().text()},
            (std::vector<std::string>{"A", "b", "c", "C-link", "Ö"}));
  fs::current_path(DriveC() / "list" / "Ö");
  EXPECT_EQ(files_->DriveCurrentFolder("C:\\windows").value(), "c:\\list\\Ö");
  EXPECT_EQ(files_->DriveCurrentFolder("q:").status().text(), std::strerror(ENOENT));
}

}  // namespace
