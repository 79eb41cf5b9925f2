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

constexpr const char* kNoVisibleWindows =
    "ebrona-installer: Fönstret kan inte visas här, där ingen kan se det (till exempel som SYSTEM). "
    "Installera med /S.";

// Writes `text` to the stream; when that leads nowhere and the program would have shown windows,
// shows `shown` in a message box instead, unless nobody could see it and close it.
void Tell(StandardStream stream, const std::string& text, bool windows, const std::string& shown,
          platform::MessageIcon icon) {
  if (!platform::WriteToStandardStream(stream, text) && windows && platform::WindowsCanBeSeen()) {
    ShowInWindow(shown, icon);
  }
}

}  // namespace

int Start(const std::vector<std::string>& arguments) {
  // File-system failure texts come in the user's language.
  std::setlocale(LC_ALL, "");

  // The mode is known before anything of the windows is loaded, so a run without windows never
  // starts the window toolkit.
  platform::IgnoreBrokenPipes();
  const ParsedArguments parsed = ParseArguments(arguments);
  if (!parsed.error.empty()) {
    // A message box has no room for the usage text's columns: it says where to read them.
    Tell(StandardStream::kError, parsed.error + "\n\n" + UsageText(), parsed.choices.mode == Mode::kWindows,
         parsed.error + "\n\n" + kUsageInConsole, platform::MessageIcon::kWarning);
    return kExitUsage;
  }
  switch (parsed.choices.mode) {
    case Mode::kHelp:
      Tell(StandardStream::kOutput, UsageText(), true, UsageText(Layout::kWindow), platform::MessageIcon::kInformation);
      return kExitDone;
    case Mode::kVersion:
      Tell(StandardStream::kOutput, VersionText(), true, VersionText(), platform::MessageIcon::kInformation);
      return kExitDone;
    case Mode::kSilent:
    case Mode::kCheck:
      return RunUnattended(parsed.choices, platform::NativeSystem(), [](const std::string& text) {
        platform::WriteToStandardStream(StandardStream::kError, text);
      });
    case Mode::kWindows:
      break;
  }
  // A window that nobody can see would wait for ever for someone to close it.
  if (!platform::WindowsCanBeSeen()) {
    platform::WriteToStandardStream(StandardStream::kError, std::string(kNoVisibleWindows) + "\n\n" + UsageText());
    return kExitUsage;
  }
  return RunWindowed(parsed.choices);
}

}  // namespace app
