#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_installation_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "temp_prefix.h"

namespace fs = std::filesystem;
using platform::posix::DriveMapping;
using platform::posix::PosixFileSystem;

// The file system suite on POSIX: a temporary folder in a prefix without dosdevices, whose one drive
// c: is the host's root.
namespace native {
namespace {
std::optional<DriveMapping> drives;
std::optional<PosixFileSystem> files;
}  // namespace

fs::path NewTempFolder() {
  std::string pattern = (fs::temp_directory_path() / "ebrona-posix-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw fs::filesystem_error("mkdtemp", std::error_code(errno, std::generic_category()));
  setenv("WINEPREFIX", (pattern + "/no-prefix").c_str(), 1);
  files.reset();
  files.emplace(drives.emplace(DriveMapping::FromEnvironment()));
  return fs::canonical(pattern);
}
platform::FileSystem& Files() { return *files; }
std::string WindowsPath(const fs::path& host) { return drives->ToWindows(host).value_or("<no drive>"); }
std::string FailureText(int error) { return std::strerror(error); }

std::vector<std::string> LeftoverNames(const std::string& name) {
  return {"." + name + ".ebrona-xY9abc", "." + name + ".ebrona-abc12",  "." + name + ".ebrona-abc123.tmp",
          name + ".ebrona-abc123",     ".MSINET.OCX.ebrona-abc123",  "." + name + ".ebrona-abc-12",
          "." + name + ".ebrona-Busy00"};
}

std::shared_ptr<void> HoldAsCopyUnderWay(const fs::path& file) {
  const int held = open(file.c_str(), O_RDONLY);
  EXPECT_EQ(flock(held, LOCK_EX), 0);
  return std::shared_ptr<void>(nullptr, [held](void*) { close(held); });
}

std::vector<CopyFailure> PlatformCopyFailures(const fs::path& folder, const std::string& windows) {
  // Reading this file fails after the temporary file is made: the failure that must clean up.
  fs::create_symlink("/proc/self/mem", folder / "unreadable.ocx");
  // The file itself through a link to its folder.
  fs::create_directory_symlink(folder / u8"mål", folder / "link");
  return {{windows + "unreadable.ocx", windows + "mål\\komp.ocx", EIO},
          {windows + "mål\\komp.ocx", windows + "link\\komp.ocx", EBUSY}};
}

}  // namespace native

namespace {

// What only POSIX arranges: a file that nobody can open, and a folder reached through a link.
TEST_F(TempPrefixTest, DatesNeedNoRightToReadAndLinkedFoldersAreListed) {
  const DriveMapping drives = DriveMapping::FromEnvironment();
  PosixFileSystem files(drives);
  // Not even root can open a socket's name.
  sockaddr_un address{AF_UNIX, {}};
  std::strcpy(address.sun_path, (DriveC() / "socket.ocx").c_str());
  const int server = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << std::strerror(errno);
  close(server);
  SetDate(DriveC() / "socket.ocx", 2003, 4, 5);
  const auto date = files.ModificationDate("c:\\socket.ocx");
  EXPECT_EQ(date.ok() ? date.value() : date.status().text(), "20030405");
  fs::create_directories(DriveC() / "list" / "folder");
  fs::create_directory_symlink(DriveC() / "list" / "folder", DriveC() / "list" / "link");
  const auto names = files.SubFolders("c:\\list");
  EXPECT_EQ(names.ok() ? names.value() : std::vector{names.status().text()},
            (std::vector<std::string>{"folder", "link"}));
}

// The lock of one installation at a time, as two runs hold it: busy for the second, also after a
// wait, until the first lets go. (The unattended program's test shows that a program the holder
// starts does not keep it.)
TEST_F(TempPrefixTest, InstallationLockIsBusyForASecondHolderUntilTheFirstLetsGo) {
  platform::posix::PosixInstallationLock first(prefix_), second(prefix_);
  const platform::Result<bool> taken = first.Take({}), busy = second.Take(std::chrono::milliseconds(150));
  EXPECT_TRUE(taken.ok() && taken.value() && busy.ok() && !busy.value()) << taken.status().text() << busy.status().text();
  first.Release();
  const platform::Result<bool> free = second.Take({});
  EXPECT_TRUE(free.ok() && free.value());
}

}  // namespace
