#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

// A process started by StartWatched. Letting go of it stops watching; the process runs on.
class WatchedProcess {
 public:
  virtual ~WatchedProcess() = default;

  // Waits at most `limit` for the process to end. Returns its exit status, or nothing when it is
  // still running after `limit`; it is never stopped by this call.
  virtual std::optional<std::uint32_t> WaitForExit(std::chrono::milliseconds limit) = 0;
};

// Starts programs as separate processes.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;

  // Starts the program at the Windows-style path `program` with `arguments`, each of which arrives
  // in the new process as one argument whatever characters it holds (no shell is involved). The
  // process gets a minimised window where the platform has windows, is not waited for and leaves
  // nothing behind when it ends. Fails with the description text when it cannot be started.
  virtual Status StartDetached(const std::string& program, const std::vector<std::string>& arguments) = 0;

  // Starts the program as StartDetached does, but keeps hold of it in `process` so that its end can
  // be waited for. Fails with the description text, leaving `process` empty, when it cannot start.
  virtual Status StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                              std::unique_ptr<WatchedProcess>& process) = 0;
};

}  // namespace platform
