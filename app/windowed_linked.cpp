#include "app/program.h"
#include "app/windowed.h"

namespace app {

int RunWindowed(const Choices& choices) { return RunProgram(choices); }

void ShowInWindow(const std::string& text, platform::MessageIcon icon) { ShowMessageWindow(text, icon); }

}  // namespace app
