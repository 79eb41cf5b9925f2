#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ctime>

#include "platform/posix/error_text.h"
#include "platform/posix/folder_handle.h"
#include "platform/posix/file_copy.h"
#include "platform/posix/name_case.h"

namespace platform::posix {
namespace {

// The status of the file at `host_path`, opened for reading so that a file that cannot be read
// fails the same way it would when it is used. O_NONBLOCK keeps a FIFO from stalling the open.
Result<struct stat> ReadableStatus(const std::string& host_path) {
  const int fd = open(host_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return ErrorFailure(errno);
  struct stat info;
  const int result = fstat(fd, &info);
  const int error = errno;
  close(fd);
  if (result != 0) return ErrorFailure(error);
  return info;
}

// The status of the file at `host_path`, read from its name without opening it.
Result<struct stat> NamedStatus(const std::string& host_path) {
  struct stat info;
  if (stat(host_path.c_str(), &info) != 0) return ErrorFailure(errno);
  return info;
}

// The status of whatever the Windows path `path` names, read from its name alone.
Result<struct stat> NamedStatus(const DriveMapping& drives, const std::string& path) {
  const Result<std::string> host = drives.ToHost(path);
  if (!host.ok()) return host.status();
  return NamedStatus(host.value());
}

// Whether both are the status of one file: the same file on the same device.
bool SameIdentity(const Result<struct stat>& a, const Result<struct stat>& b) {
  return a.ok() && b.ok() && a.value().st_dev == b.value().st_dev && a.value().st_ino == b.value().st_ino;
}

// The status of the file at the Windows path `path`: from the opened file when it must be
// readable, otherwise from its name alone, which needs no right to read it. A folder is not a
// file: a component or an installed file that turns out to be one fails here.
Result<struct stat> FileStatus(const DriveMapping& drives, const std::string& path, bool readable) {
  const Result<std::string> host = drives.ToHost(path);
  if (!host.ok()) return host.status();
  Result<struct stat> info = readable ? ReadableStatus(host.value()) : NamedStatus(host.value());
  if (info.ok() && S_ISDIR(info.value().st_mode)) return ErrorFailure(EISDIR);
  return info;
}

}  // namespace

Result<std::uint64_t> PosixFileSystem::FileLength(const std::string& path) {
  const Result<struct stat> info = FileStatus(drives_, path, true);
  if (!info.ok()) return info.status();
  return static_cast<std::uint64_t>(info.value().st_size);
}

Result<std::string> PosixFileSystem::ReadFileBytes(const std::string& path, std::uint64_t limit) {
  const Result<std::string> host = drives_.ToHost(path);
  if (!host.ok()) return host.status();
  // O_NONBLOCK keeps a FIFO without a writer from stalling the open and the read.
  const int fd = open(host.value().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return ErrorFailure(errno);
  struct stat info;
  int error = fstat(fd, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
  std::string bytes;
  char chunk[65536];
  while (error == 0 && bytes.size() < limit) {
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, limit - bytes.size()));
    const ssize_t got = read(fd, chunk, wanted);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) error = errno;
    if (got <= 0) break;
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
  close(fd);
  if (error != 0) return ErrorFailure(error);
  return bytes;
}

Result<std::string> PosixFileSystem::ModificationDate(const std::string& path) {
  const Result<struct stat> info = FileStatus(drives_, path, false);
  if (!info.ok()) return info.status();
  std::tm local{};
  if (!localtime_r(&info.value().st_mtim.tv_sec, &local)) return ErrorFailure(errno);
  char text[16];
  if (std::strftime(text, sizeof text, "%Y%m%d", &local) != 8) return ErrorFailure(EOVERFLOW);
  return std::string(text);
}

bool PosixFileSystem::IsRegularFile(const std::string& path) {
  const Result<struct stat> info = NamedStatus(drives_, path);
  return info.ok() && S_ISREG(info.value().st_mode);
}

Status PosixFileSystem::CopyReplacing(const std::string& source, const std::string& destination,
                                      bool* replaced_in_use) {
  if (replaced_in_use) *replaced_in_use = false;
  const Result<std::string> from = drives_.ToHost(source);
  if (!from.ok()) return from.status();
  const Result<std::string> to = drives_.ToHost(destination);
  if (!to.ok()) return to.status();
  return CopyFileReplacing(from.value(), to.value());
}

void PosixFileSystem::RemoveLeftovers(const std::string& path) {
  const Result<std::string> host = drives_.ToHost(path);
  if (host.ok()) RemoveLeftoversOf(host.value());
}

bool PosixFileSystem::SameFile(const std::string& first, const std::string& second) {
  return SameIdentity(NamedStatus(drives_, first), NamedStatus(drives_, second));
}

bool PosixFileSystem::IsFolder(const std::string& path) {
  const Result<struct stat> info = NamedStatus(drives_, path);
  return info.ok() && S_ISDIR(info.value().st_mode);
}

bool PosixFileSystem::IsRunningProgram(const std::string& path) {
  // The kernel's link to the program's file leads to it wherever it was started from.
  return SameIdentity(NamedStatus("/proc/self/exe"), NamedStatus(drives_, path));
}

Status PosixFileSystem::WriteFileReplacing(const std::string& path, const std::string& bytes) {
  const Result<std::string> host = drives_.ToHost(path);
  if (!host.ok()) return host.status();
  return posix::WriteFileReplacing(host.value(), bytes);
}

Status PosixFileSystem::MakeFolder(const std::string& path) {
  const Result<std::string> host = drives_.ToHost(path);
  if (!host.ok()) return host.status();
  // Full access for everyone, narrowed by the user's umask as for any new folder.
  if (mkdir(host.value().c_str(), 0777) != 0) return ErrorFailure(errno);
  return Status::Ok();
}

std::vector<std::string> PosixFileSystem::Drives() { return drives_.Drives(); }

Result<std::string> PosixFileSystem::DriveCurrentFolder(const std::string& drive) {
  char letter = 0;
  if (drive.size() >= 2 && drive[1] == ':') {
    letter = drive[0];
  } else {
    // No drive named: the drive that holds the process's current folder.
    const Result<std::string> process_folder = DriveMapping::ProcessFolder();
    if (!process_folder.ok()) return process_folder.status();
    letter = drives_.DriveHolding(process_folder.value()).value_or(0);
  }
  const std::string* root = drives_.DriveFolder(letter);
  if (!root) return ErrorFailure(ENOENT);
  // A drive can be used when its folder can be listed, as the folder chooser does next.
  FolderHandle dir = OpenFolder(*root);
  if (!dir) return ErrorFailure(errno);

  const std::string root_text = std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(letter)))) + ":\\";
  const Result<std::string> process_folder = DriveMapping::ProcessFolder();
  if (!process_folder.ok() || drives_.DriveHolding(process_folder.value()) != root_text[0]) return root_text;
  return drives_.ToWindows(process_folder.value()).value_or(root_text);
}

Result<std::vector<std::string>> PosixFileSystem::SubFolders(const std::string& folder) {
  const Result<std::string> host = drives_.ToHost(folder);
  if (!host.ok()) return host.status();
  FolderHandle dir = OpenFolder(host.value());
  if (!dir) return ErrorFailure(errno);
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    // fstatat without AT_SYMLINK_NOFOLLOW: a link to a folder is listed like the folder.
    struct stat info;
    if (fstatat(dirfd(dir.get()), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode)) names.push_back(name);
    errno = 0;
  }
  if (errno != 0) return ErrorFailure(errno);
  std::sort(names.begin(), names.end(), NameLessIgnoringCase);
  return names;
}

std::vector<std::string> PosixFileSystem::SystemFolders() {
  // Wine keeps its programs in system32 and, in a 64-bit prefix, its 32-bit ones in syswow64; the
  // other two are the system folders of older Windows versions. The installer proposes the same four.
  return {"c:\\windows\\sysWOW64", "c:\\windows\\system32", "c:\\windows\\system", "c:\\winnt\\system32"};
}

}  // namespace platform::posix
