#pragma once

#include <functional>
#include <string>

#include "app/choices.h"
#include "platform/window_kit.h"

// The part of the program that shows windows.
namespace app {

// The windowed program: the main window is created and loaded, the choices fill in its folder
// boxes, check boxes and source folder, it is shown, `after_show` runs (if any), and the event loop
// goes on until a window ends the program. Returns the exit status.
int RunProgram(const Choices& choices = {}, const std::function<void()>& after_show = {});

// `text` (lines ended by "\n") in a message box with the program's title; returns when it is
// closed, or at once when no window can be shown.
void ShowMessageWindow(const std::string& text, platform::MessageIcon icon);

}  // namespace app
