#pragma once

#include <string>
#include <vector>

namespace app {

// The program's start: reads the arguments (after the program's name) and runs the window, the
// unattended run, the check or the usage text, as they ask. Returns the exit status.
int Start(const std::vector<std::string>& arguments);

}  // namespace app
