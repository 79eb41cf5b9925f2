#include "platform/win32/win32_program_end.h"

#include <windows.h>

#include <cstdio>

namespace platform::win32 {

void Win32ProgramEnd::EndNow() {
  // Whatever the program has written to its standard streams still goes out.
  std::fflush(nullptr);
  ExitProcess(0);
}

}  // namespace platform::win32
