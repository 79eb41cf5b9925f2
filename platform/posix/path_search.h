#pragma once

#include <string>

#include "platform/status.h"

namespace platform::posix {

// The first executable file named `name` in the folders of PATH, as the shell would find it.
Result<std::string> FindOnPath(const std::string& name);

}  // namespace platform::posix
