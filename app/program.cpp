#include "app/program.h"

#include <clocale>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/system.h"
#include "platform/window_kit.h"
#include "ui/form2.h"

namespace app {

int RunProgram(const std::function<void()>& after_show) {
  // File-system failure texts come in the user's language.
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
  if (after_show) after_show();
  return kit->Run();
}

}  // namespace app
