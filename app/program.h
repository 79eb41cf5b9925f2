#pragma once

#include <functional>

namespace app {

// The program's start: the main window is created, loaded and shown, `after_show` runs (if any),
// and the event loop goes on until a window ends the program. Returns the exit status.
int RunProgram(const std::function<void()>& after_show = {});

}  // namespace app
