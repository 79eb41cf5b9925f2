#pragma once

#include "platform/process_launcher.h"

namespace platform::win32 {

// Starts programs with CreateProcessW, minimised and without taking the focus from the program's
// windows, and lets them run on their own.
class Win32ProcessLauncher : public ProcessLauncher {
 public:
  Status StartDetached(const std::string& program, const std::vector<std::string>& arguments) override;
};

}  // namespace platform::win32
