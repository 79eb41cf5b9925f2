#pragma once

#include <string>

#include "platform/status.h"

namespace platform::posix {

// Makes `bytes` the content of the host file `path`, crash-safe: they go to a new temporary file in
// the same folder, which is flushed to the disk and renamed over `path`. A new file gets the
// permissions of any new file (0666 narrowed by the umask); a replaced one keeps its own. On
// failure the temporary file is removed and `path` is left exactly as it was.
Status WriteFileReplacing(const std::string& path, const std::string& bytes);

}  // namespace platform::posix
