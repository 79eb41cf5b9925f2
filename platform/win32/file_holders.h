#pragma once

#include <string>
#include <vector>

#include "platform/in_use_replacement.h"

namespace platform::win32 {

// The running programs that hold the file `path` open or loaded, as Restart Manager names them:
// their names and process ids. Empty when the system cannot tell (no Restart Manager, or a failure).
std::vector<FileHolder> FileHolders(const std::wstring& path);

}  // namespace platform::win32
