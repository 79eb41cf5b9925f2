// The module that holds the windows on Linux: its two entry points, looked up by name.
#include "app/program.h"

extern "C" int ebrona_run_windowed(const app::Choices* choices) { return app::RunProgram(*choices); }

extern "C" void ebrona_show_in_window(const std::string* text, platform::MessageIcon icon) {
  app::ShowMessageWindow(*text, icon);
}
