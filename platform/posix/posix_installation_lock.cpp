#include "platform/posix/posix_installation_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "platform/posix/error_text.h"

namespace platform::posix {

namespace {

constexpr const char* kLockName = "ebrona-installer.lock";
// How often a run that waits tries the lock again.
constexpr std::chrono::milliseconds kRetry{100};

}  // namespace

Result<bool> PosixInstallationLock::Take(std::chrono::milliseconds limit) {
  if (fd_ < 0) {
    if (prefix_.empty()) return Status::Failure(std::string(kLockName) + ": " + ErrorText(ENOENT));
    const std::string path = prefix_ + "/" + kLockName;
    // Never through a symbolic link, and closed in every program this one starts. A lock file that
    // another user made can still be locked through a descriptor opened for reading.
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | flags, 0644);
    if (fd_ < 0 && (errno == EACCES || errno == EROFS)) fd_ = open(path.c_str(), O_RDONLY | flags);
    if (fd_ < 0) return Status::Failure(path + ": " + ErrorText(errno));
  }
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return ErrorFailure(errno);
    const auto left = end - std::chrono::steady_clock::now();
    if (left <= left.zero()) return false;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kRetry));
  }
}

void PosixInstallationLock::Release() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

}  // namespace platform::posix
