#pragma once

namespace platform {

// Ends the program.
class ProgramEnd {
 public:
  virtual ~ProgramEnd() = default;

  // Ends the process at once with exit status 0: no further handler of any window runs.
  // Test doubles may throw instead of returning, so callers must not rely on code after it.
  [[noreturn]] virtual void EndNow() = 0;
};

}  // namespace platform
