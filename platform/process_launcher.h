#pragma once

#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

// Starts programs as separate processes.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;

  // Starts the program at the Windows-style path `program` with `arguments`, each of which arrives
  // in the new process as one argument whatever characters it holds (no shell is involved). The
  // process gets a minimised window where the platform has windows, is not waited for and leaves
  // nothing behind when it ends. Fails with the description text when it cannot be started.
  virtual Status StartDetached(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

}  // namespace platform
