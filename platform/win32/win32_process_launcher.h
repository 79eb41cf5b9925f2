#pragma once

#include "platform/process_launcher.h"

namespace platform::win32 {

// Starts programs with CreateProcessW, minimised and without taking the focus from the program's
// windows, and lets them run on their own or watches them end.
class Win32ProcessLauncher : public ProcessLauncher {
 public:
  Status StartDetached(const std::string& program, const std::vector<std::string>& arguments) override;
  // The process handle is kept, and waited on with WaitForSingleObject.
  Status StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                      std::unique_ptr<WatchedProcess>& process) override;
};

}  // namespace platform::win32
