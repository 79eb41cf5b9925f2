#include "platform/posix/file_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "platform/posix/error_text.h"
#include "platform/posix/folder_handle.h"
#include "platform/posix/temporary_guard.h"

namespace platform::posix {
namespace {

// Closes the descriptor when it goes out of scope, unless it was closed on purpose before.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }
  // Closes now and reports the outcome, since a delayed write error can surface only here.
  int Close() {
    const int result = close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

// Copies everything from `from` to `to`; 0 or the errno of the failing call.
int CopyData(int from, int to) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t got = read(from, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) return 0;
    if (const int error = WriteAll(to, buffer.data(), static_cast<std::size_t>(got))) return error;
  }
}

// The temporary file of a copy to `name` is ".<name>.ebrona-" and six letters or digits, as
// mkostemp makes them.
constexpr const char* kTemporaryMark = ".ebrona-";
constexpr std::size_t kTemporaryLetters = 6;

std::string TemporaryPrefix(const std::string& name) { return "." + name + kTemporaryMark; }

bool IsTemporaryOf(const std::string& entry, const std::string& prefix) {
  if (entry.size() != prefix.size() + kTemporaryLetters || entry.compare(0, prefix.size(), prefix) != 0) return false;
  for (std::size_t i = prefix.size(); i < entry.size(); ++i) {
    if (!std::isalnum(static_cast<unsigned char>(entry[i]))) return false;
  }
  return true;
}

// Removes the temporary files of copies to `name` in `folder` that an interrupted run left behind.
// A copy under way holds a lock on its temporary file; that file, and any that is not a plain
// file, stays. A leftover is opened for writing where it can be: on NFS a lock is a write lock,
// which a descriptor opened only for reading cannot take. Failures change nothing and are not the
// copy's concern.
void RemoveLeftovers(const std::string& folder, const std::string& name) {
  FolderHandle dir = OpenFolder(folder);
  if (!dir) return;
  const std::string prefix = TemporaryPrefix(name);
  while (const dirent* entry = readdir(dir.get())) {
    if (!IsTemporaryOf(entry->d_name, prefix)) continue;
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd = openat(dirfd(dir.get()), entry->d_name, O_RDWR | flags);
    // A copy killed after giving its file the source's read-only mode, seen by a user other than root.
    if (fd < 0 && errno == EACCES) fd = openat(dirfd(dir.get()), entry->d_name, O_RDONLY | flags);
    Descriptor leftover(fd);
    struct stat info;
    if (leftover.get() < 0 || fstat(leftover.get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (flock(leftover.get(), LOCK_EX | LOCK_NB) == 0) unlinkat(dirfd(dir.get()), entry->d_name, 0);
  }
}

// Fills the open temporary file `to` from `from`, gives it the source's mode and time and flushes it.
int FillTemporary(int from, const struct stat& source, int to) {
  if (const int error = CopyData(from, to)) return error;
  if (fchmod(to, source.st_mode & 0777) != 0) return errno;
  // The access time is left as it is; Windows carries over only the time of the last write.
  const timespec times[2] = {{0, UTIME_OMIT}, source.st_mtim};
  if (futimens(to, times) != 0) return errno;
  if (fsync(to) != 0) return errno;
  return 0;
}

// The permission bits that the file at `path` keeps or, for a new file, gets: those of any new
// file, 0666 narrowed by the umask.
mode_t ModeFor(const std::string& path) {
  struct stat existing;
  if (stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The descriptor that `path` names by its own name: /dev/stdin, /dev/stdout and /dev/stderr, and
// /dev/fd/N and /proc/self/fd/N, also through links to their folders. Such a name stands for
// whatever the descriptor is (a terminal, a pipe, a socket, a file) and is written into through a
// copy of it; opened by name a socket would fail, and replacing the name would take it from
// everyone. Nothing for every other name.
std::optional<int> StandardDescriptor(const std::string& path) {
  char* resolved = realpath(FolderOf(path).c_str(), nullptr);
  const std::string folder = resolved != nullptr ? resolved : "";
  std::free(resolved);
  const std::string name = NameOf(path);
  if (folder == "/dev") {
    const char* names[] = {"stdin", "stdout", "stderr"};
    for (int fd = 0; fd < 3; ++fd) {
      if (name == names[fd]) return fd;
    }
  }
  // /dev/fd and /proc/self are links to the process's own folder in /proc.
  const bool digits = !name.empty() && name.size() < 10 &&
                      std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (digits && folder == "/proc/" + std::to_string(getpid()) + "/fd") return std::stoi(name);
  return std::nullopt;
}

// Writes `bytes` into the open descriptor `fd` through a copy of it, where the descriptor stands.
Status WriteIntoDescriptor(int fd, const std::string& bytes) {
  Descriptor to(fcntl(fd, F_DUPFD_CLOEXEC, 0));
  if (to.get() < 0) return ErrorFailure(errno);
  if (const int error = WriteAll(to.get(), bytes.data(), bytes.size())) return ErrorFailure(error);
  return Status::Ok();
}

// Writes `bytes` into the device or FIFO at `path` as they come, at its end where it has one. A
// link there is not followed. A FIFO that nobody reads fails at once (ENXIO) rather than stalling
// the program, and so does a socket, which cannot be opened.
Status WriteInPlace(const std::string& path, const std::string& bytes) {
  Descriptor to(open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
  if (to.get() < 0) return ErrorFailure(errno);
  struct stat info;
  if (fstat(to.get(), &info) != 0) return ErrorFailure(errno);
  // Something else put in its place since the caller looked.
  if (!S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode)) return ErrorFailure(EPERM);
  // From here a slow reader is waited for, as by any program that writes to it.
  const int flags = fcntl(to.get(), F_GETFL);
  if (flags < 0 || fcntl(to.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return ErrorFailure(errno);
  if (const int error = WriteAll(to.get(), bytes.data(), bytes.size())) return ErrorFailure(error);
  if (to.Close() != 0) return ErrorFailure(errno);
  return Status::Ok();
}

// Gives `destination` its new content through a temporary file in its folder: `fill` writes and
// flushes the temporary file (0 or an errno), and the rename puts it in place. The file is renamed
// while it is still open and locked, so that no other writer's clean-up can take it for a leftover
// in between, and closed after. On failure the temporary file is removed.
Status ReplaceThroughTemporary(const std::string& destination, const std::function<int(int)>& fill) {
  const std::string folder = FolderOf(destination);
  std::string temporary = folder + "/" + TemporaryPrefix(NameOf(destination)) + "XXXXXX";
  // Removed also when a signal ends the program while the file is filled.
  Descriptor to(CreateGuardedTemporary(temporary));
  if (to.get() < 0) return ErrorFailure(errno);
  // Marks the file as in use, so that another run's clean-up leaves it alone.
  flock(to.get(), LOCK_EX | LOCK_NB);

  int error = fill(to.get());
  if (error == 0 && rename(temporary.c_str(), destination.c_str()) != 0) error = errno;
  if (error != 0) unlink(temporary.c_str());
  ReleaseGuardedTemporary();
  // The data was flushed before the rename, so a late write error cannot surface here any more.
  to.Close();
  if (error != 0) return ErrorFailure(error);

  // Makes the rename itself durable. The destination has been replaced by now, so a failure here
  // is not reported as a failure: the file is in place and the caller's record stays true.
  Descriptor folder_fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder_fd.get() >= 0) fsync(folder_fd.get());
  return Status::Ok();
}

}  // namespace

Status CopyFileReplacing(const std::string& source, const std::string& destination) {
  Descriptor from(open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (from.get() < 0) return ErrorFailure(errno);
  struct stat source_info;
  if (fstat(from.get(), &source_info) != 0) return ErrorFailure(errno);
  if (S_ISDIR(source_info.st_mode)) return ErrorFailure(EISDIR);
  // A FIFO or a device has no content to copy: it would give an empty file, or one without end.
  if (!S_ISREG(source_info.st_mode)) return ErrorFailure(EINVAL);

  struct stat destination_info;
  if (stat(destination.c_str(), &destination_info) == 0) {
    if (S_ISDIR(destination_info.st_mode)) return ErrorFailure(EISDIR);
    // The same file under another name, for instance through a folder that is a link to the
    // source's folder. Windows refuses this because the source is open; EBUSY says the same.
    if (destination_info.st_dev == source_info.st_dev && destination_info.st_ino == source_info.st_ino) {
      return ErrorFailure(EBUSY);
    }
    // A file without any write permission is read-only, as Windows and Wine see it, and is not
    // replaced, not even by root, whose rename would otherwise go through.
    if ((destination_info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return ErrorFailure(EACCES);
  }
  return ReplaceThroughTemporary(destination, [&](int to) { return FillTemporary(from.get(), source_info, to); });
}

Status WriteFileReplacing(const std::string& path, const std::string& bytes) {
  if (const std::optional<int> fd = StandardDescriptor(path)) return WriteIntoDescriptor(*fd, bytes);
  // Whatever the name holds is judged by itself, a link too: whoever may put a link where the log
  // goes must not lead the report into a file of his choice (/proc/self/root/etc/passwd).
  struct stat existing;
  const bool exists = lstat(path.c_str(), &existing) == 0;
  struct stat target;  // a link that leads to a folder is refused as a folder
  const bool link_to_folder = exists && S_ISLNK(existing.st_mode) && stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
  if ((exists && S_ISDIR(existing.st_mode)) || link_to_folder) return ErrorFailure(EISDIR);
  // Writing into a disk would destroy what it holds; replacing its name helps nobody either.
  if (exists && S_ISBLK(existing.st_mode)) return ErrorFailure(EPERM);
  // A device, a FIFO or a socket is written into, never replaced (/dev/log would be lost).
  if (exists && !S_ISREG(existing.st_mode) && !S_ISLNK(existing.st_mode)) return WriteInPlace(path, bytes);
  const mode_t mode = ModeFor(path);
  // A log has no restart entries or files renamed aside: what a killed write of it left goes here.
  RemoveLeftovers(FolderOf(path), NameOf(path));
  return ReplaceThroughTemporary(path, [&](int to) {
    if (const int error = WriteAll(to, bytes.data(), bytes.size())) return error;
    if (fchmod(to, mode) != 0 || fsync(to) != 0) return errno;
    return 0;
  });
}

void RemoveLeftoversOf(const std::string& path) { RemoveLeftovers(FolderOf(path), NameOf(path)); }

}  // namespace platform::posix
