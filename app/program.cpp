#include "app/program.h"

#include <clocale>
#include <cstdio>
#include <memory>
#include <string>

#include "app/switches.h"
#include "app/unattended_run.h"
#include "platform/program_start.h"
#include "platform/system.h"
#include "platform/window_kit.h"
#include "ui/form2.h"

namespace app {
namespace {

using platform::StandardStream;

constexpr const char* kTitle = "Installera systemfiler";

// The text with CR LF line ends, as a message box takes it.
std::string WithCrLf(const std::string& text) {
  std::string result;
  for (const char c : text) {
    if (c == '\n') result += '\r';
    result += c;
  }
  return result;
}

// Writes `text` to the stream; when that leads nowhere and the program would have shown windows,
// shows it in a message box instead.
void Tell(StandardStream stream, const std::string& text, bool windows, platform::MessageIcon icon) {
  if (platform::WriteToStandardStream(stream, text) || !windows) return;
  std::string error;
  const std::unique_ptr<platform::WindowKit> kit = platform::NewNativeWindowKit(platform::NativeSystem().files, error);
  if (kit) kit->ShowMessage(WithCrLf(text), kTitle, icon);
}

}  // namespace

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

int Start(const std::vector<std::string>& arguments) {
  // File-system failure texts come in the user's language.
  std::setlocale(LC_ALL, "");

  // The mode is known before any window kit exists, so a run without windows never starts one.
  const ParsedArguments parsed = ParseArguments(arguments);
  const bool windows = parsed.choices.mode == Mode::kWindows;
  if (!parsed.error.empty()) {
    Tell(StandardStream::kError, parsed.error + "\n\n" + UsageText(), windows, platform::MessageIcon::kWarning);
    return kExitUsage;
  }
  switch (parsed.choices.mode) {
    case Mode::kHelp:
      Tell(StandardStream::kOutput, UsageText(), true, platform::MessageIcon::kInformation);
      return kExitDone;
    case Mode::kSilent:
    case Mode::kCheck:
      return RunUnattended(parsed.choices, platform::NativeSystem(), [](const std::string& line) {
        platform::WriteToStandardStream(StandardStream::kError, "ebrona-installer: " + line + "\n");
      });
    case Mode::kWindows:
      break;
  }
  return RunProgram(parsed.choices);
}

}  // namespace app
