#include <clocale>
#include <cstdio>
#include <memory>
#include <string>

#include "bench/quit_when_shown.h"
#include "platform/system.h"
#include "platform/window_kit.h"
#include "ui/form2.h"

// The program's start as app/main.cpp makes it, ending as soon as the main window is shown.
int main() {
  std::setlocale(LC_ALL, "");
  platform::System& system = platform::NativeSystem();
  std::string error;
  std::unique_ptr<platform::WindowKit> kit = platform::NewNativeWindowKit(system.files, error);
  if (!kit) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  ui::Form2 form2(*kit, system);
  form2.Form_Load();
  form2.Show();
  QuitWhenShown();
  return kit->Run();
}
