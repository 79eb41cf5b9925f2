#pragma once

#include <sys/types.h>

#include <optional>

#include "platform/process_launcher.h"

namespace platform::posix {

// A child process of this one, waited for with waitpid. The exit status is the program's own, or
// 128 plus the signal's number when a signal ended it, as the shell reports it.
class PosixWatchedProcess : public WatchedProcess {
 public:
  explicit PosixWatchedProcess(pid_t child) : child_(child) {}
  // A child that has ended by now is reaped; one still running is left to run on.
  ~PosixWatchedProcess() override;

  std::optional<std::uint32_t> WaitForExit(std::chrono::milliseconds limit) override;

 private:
  // Collects the exit status if the child has ended; false while it runs.
  bool Collect(int flags);

  pid_t child_;
  std::optional<std::uint32_t> status_;
};

}  // namespace platform::posix
