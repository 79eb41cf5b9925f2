#pragma once

#include "platform/program_end.h"

namespace platform::posix {

// Ends the process at once: buffered output is written, but no destructor or exit handler runs.
class PosixProgramEnd : public ProgramEnd {
 public:
  [[noreturn]] void EndNow() override;
};

}  // namespace platform::posix
