#pragma once

#include <string>

#include "app/choices.h"
#include "platform/window_kit.h"

// How the program's start reaches the part that shows windows (program.h). On Windows it is linked
// in. On Linux it is a module beside the program, loaded only when windows are shown, so that a
// run without windows never loads the window toolkit's libraries. CMake links one of the two.
namespace app {

// RunProgram(choices); 1 after a line on standard error when the windows cannot be loaded.
int RunWindowed(const Choices& choices);

// ShowMessageWindow(text, icon); nothing when the windows cannot be loaded.
void ShowInWindow(const std::string& text, platform::MessageIcon icon);

}  // namespace app
