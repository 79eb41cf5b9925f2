#pragma once

#include <windows.h>

#include <string>

namespace platform::win32 {

// The system's own description of `error`, in the user's language, without the trailing line break.
std::string SystemText(DWORD error);

}  // namespace platform::win32
