#pragma once

#include <string>

#include "platform/status.h"

namespace platform::win32 {

// Makes `bytes` the content of the file `path`, crash-safe: they go to a new temporary file in the
// same folder, which is flushed and then takes the name `path` in one rename, replacing a file of
// that name. On failure the temporary file is deleted and `path` is untouched.
Status WriteFileReplacing(const std::wstring& path, const std::string& bytes);

}  // namespace platform::win32
