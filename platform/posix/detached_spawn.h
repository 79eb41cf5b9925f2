#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/status.h"

namespace platform::posix {

// Runs the host program `path` with the argument vector `argv` (argv[0] included) and the
// environment `environment` ("NAME=value" entries), without a shell and without waiting for it.
// The program runs as the grandchild of this process in a session of its own, so it is never this
// process's child and no zombie is left when it ends. Fails with the description text when the
// program cannot be executed (missing, not executable, not a format the kernel runs).
Status SpawnDetached(const std::string& path, const std::vector<std::string>& argv,
                     const std::vector<std::string>& environment);

// Runs the program as SpawnDetached does, but as a child of this process, whose id goes to
// `child` so that the caller can wait for it (and must, or leave it to be adopted when this
// process ends). Fails as SpawnDetached does, with no child left behind.
Status SpawnChild(const std::string& path, const std::vector<std::string>& argv,
                  const std::vector<std::string>& environment, pid_t& child);

}  // namespace platform::posix
