#include "platform/posix/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/error_text.h"

namespace platform::posix {
namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The permission bits the file at `path` keeps or, for a new file, gets.
mode_t ModeFor(const std::string& path) {
  struct stat existing;
  if (stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Writes, flushes and closes the open temporary file; 0 or the errno of the failing call.
int Fill(int fd, const std::string& bytes, mode_t mode) {
  const char* data = bytes.data();
  std::size_t size = bytes.size();
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  if (fchmod(fd, mode) != 0 || fsync(fd) != 0) return errno;
  return 0;
}

}  // namespace

Status WriteFileReplacing(const std::string& path, const std::string& bytes) {
  struct stat existing;
  if (stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return ErrorFailure(EISDIR);
  const std::string folder = FolderOf(path);
  std::string temporary = path + ".ebrona-XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return ErrorFailure(errno);

  int error = Fill(fd, bytes, ModeFor(path));
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temporary.c_str());
    return ErrorFailure(error);
  }
  // Makes the rename itself durable; the file is in place whatever this answers.
  const int folder_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd >= 0) {
    fsync(folder_fd);
    close(folder_fd);
  }
  return Status::Ok();
}

}  // namespace platform::posix
