#include "platform/posix/posix_watched_process.h"

#include <sys/wait.h>

#include <cerrno>
#include <thread>

namespace platform::posix {

PosixWatchedProcess::~PosixWatchedProcess() {
  if (!status_) Collect(WNOHANG);
}

bool PosixWatchedProcess::Collect(int flags) {
  int status = 0;
  pid_t result;
  while ((result = waitpid(child_, &status, flags)) < 0 && errno == EINTR) {
  }
  if (result != child_) return false;
  status_ = WIFEXITED(status) ? static_cast<std::uint32_t>(WEXITSTATUS(status))
                              : 128u + static_cast<std::uint32_t>(WTERMSIG(status));
  return true;
}

std::optional<std::uint32_t> PosixWatchedProcess::WaitForExit(std::chrono::milliseconds limit) {
  // waitpid has no time limit of its own: the child is asked after every short sleep, which costs
  // nothing noticeable next to the seconds a registration takes.
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!status_ && !Collect(WNOHANG)) {
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return status_;
}

}  // namespace platform::posix
