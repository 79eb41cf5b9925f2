#include "app/start.h"

#include <clocale>

#include "app/choices.h"
#include "app/switches.h"
#include "app/unattended_run.h"
#include "app/windowed.h"
#include "platform/program_start.h"
#include "platform/system.h"

namespace app {
namespace {

using platform::StandardStream;

// Writes `text` to the stream; when that leads nowhere and the program would have shown windows,
// shows it in a message box instead.
void Tell(StandardStream stream, const std::string& text, bool windows, platform::MessageIcon icon) {
  if (!platform::WriteToStandardStream(stream, text) && windows) ShowInWindow(text, icon);
}

}  // namespace

int Start(const std::vector<std::string>& arguments) {
  // File-system failure texts come in the user's language.
  std::setlocale(LC_ALL, "");

  // The mode is known before anything of the windows is loaded, so a run without windows never
  // starts the window toolkit.
  const ParsedArguments parsed = ParseArguments(arguments);
  if (!parsed.error.empty()) {
    Tell(StandardStream::kError, parsed.error + "\n\n" + UsageText(), parsed.choices.mode == Mode::kWindows,
         platform::MessageIcon::kWarning);
    return kExitUsage;
  }
  switch (parsed.choices.mode) {
    case Mode::kHelp:
      Tell(StandardStream::kOutput, UsageText(), true, platform::MessageIcon::kInformation);
      return kExitDone;
    case Mode::kVersion:
      Tell(StandardStream::kOutput, VersionText(), true, platform::MessageIcon::kInformation);
      return kExitDone;
    case Mode::kSilent:
    case Mode::kCheck:
      return RunUnattended(parsed.choices, platform::NativeSystem(), [](const std::string& text) {
        platform::WriteToStandardStream(StandardStream::kError, text);
      });
    case Mode::kWindows:
      break;
  }
  return RunWindowed(parsed.choices);
}

}  // namespace app
