#include "app/program.h"

#include <cstdio>
#include <memory>
#include <string>

#include "engine/installer_state.h"
#include "platform/system.h"
#include "ui/form2.h"

namespace app {

int RunProgram(const Choices& choices, const std::function<void()>& after_show) {
  platform::System& system = platform::NativeSystem();
  std::string error;
  std::unique_ptr<platform::WindowKit> kit = platform::NewNativeWindowKit(system.files, error);
  if (!kit) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }

  ui::Form2 form2(*kit, system);
  form2.Form_Load();
  if (choices.destination) form2.Text1.SetText(*choices.destination);
  if (choices.backup) form2.Text2.SetText(*choices.backup);
  for (int i = 1; i <= form2.state().ComponentCount; ++i) form2.Check1(i).SetValue(choices.Ticked(i) ? 1 : 0);
  if (choices.source) form2.state().SourceFolder = engine::NormaliseFolder(*choices.source);
  form2.Show();
  if (after_show) after_show();
  return kit->Run();
}

void ShowMessageWindow(const std::string& text, platform::MessageIcon icon) {
  std::string error;
  const std::unique_ptr<platform::WindowKit> kit = platform::NewNativeWindowKit(platform::NativeSystem().files, error);
  if (!kit) return;
  std::string prompt;  // a message box breaks lines at CR LF
  for (const char c : text) prompt += c == '\n' ? std::string("\r\n") : std::string(1, c);
  kit->ShowMessage(prompt, "Installera systemfiler", icon);
}

}  // namespace app
