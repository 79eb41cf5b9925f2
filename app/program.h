#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/choices.h"

namespace app {

// The program's start: reads the arguments (after the program's name) and runs the window, the
// unattended run, the check or the usage text, as they ask. Returns the exit status.
int Start(const std::vector<std::string>& arguments);

// The windowed program: the main window is created and loaded, the choices fill in its folder
// boxes, check boxes and source folder, it is shown, `after_show` runs (if any), and the event loop
// goes on until a window ends the program. Returns the exit status.
int RunProgram(const Choices& choices = {}, const std::function<void()>& after_show = {});

}  // namespace app
