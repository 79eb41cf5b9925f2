#pragma once

#include "platform/program_end.h"

namespace platform::win32 {

// Ends the process with ExitProcess: no window procedure and no destructor of the program runs.
class Win32ProgramEnd : public ProgramEnd {
 public:
  [[noreturn]] void EndNow() override;
};

}  // namespace platform::win32
