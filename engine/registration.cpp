#include "engine/registration.h"

#include <algorithm>
#include <cctype>

#include "engine/report_text.h"

namespace engine {

void PauseAfterStart(platform::Clock& clock) {
  static constexpr float kPause = 0.3f;
  static constexpr float kSecondsPerDay = 86400.0f;
  // The clock falls back to 0 at midnight. A reading below the one before is that wrap only when
  // it lies less than this after midnight, counted from the reading before.
  static constexpr float kWrapWindow = 1.0f;
  float start = static_cast<float>(clock.SecondsSinceMidnight());
  float previous = start;
  float days = 0.0f;
  for (;;) {
    const float now = static_cast<float>(clock.SecondsSinceMidnight());
    if (now < previous) {
      if (kSecondsPerDay - previous + now < kWrapWindow) {
        days += kSecondsPerDay;
      } else {
        // The clock was set back (by hand, or at the end of summer time): count again from here.
        start = now;
        days = 0.0f;
      }
    }
    previous = now;
    const float elapsed = now - start + days;
    if (!(kPause > elapsed)) return;
  }
}

namespace {

// The system folder that `folder` is, under whatever spelling, as FileSystem::SystemFolders spells
// it and ending with "\"; empty when it is none of them. Paths are built from it, not from the
// spelling that was compared, so that what runs is what was checked.
// Of two names of one folder (system32 and sysWOW64 for a 32-bit program on 64-bit Windows), the
// one that was written is taken.
std::string MatchedSystemFolder(const std::string& folder, platform::FileSystem& files) {
  const auto lower = [](std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
  };
  std::string matched;
  for (const std::string& system_folder : files.SystemFolders()) {
    if (!files.SameFile(system_folder, folder)) continue;
    const std::string spelled = NormaliseFolder(system_folder);
    if (matched.empty() || lower(spelled) == lower(folder)) matched = spelled;
  }
  return matched;
}

// The folder of the system's registration tool, ending with "\": the destination's own when it is a
// system folder that holds regsvr32.exe, else the first system folder that holds one, that of the
// program's own view (on Windows the system directory, whose tool hands a component of the other
// bitness to its twin; in a Wine prefix the folder of 32-bit programs, the catalogue's kind). A
// regsvr32.exe in any other folder is never the tool: it may be a program that whoever can write
// there put in, and must not run with the installer's rights. Empty when the system has none.
std::string ToolFolder(const std::string& matched_destination, platform::FileSystem& files) {
  std::vector<std::string> candidates = {matched_destination};
  for (const std::string& folder : files.SystemFolders()) candidates.push_back(NormaliseFolder(folder));
  for (const std::string& folder : candidates) {
    // Only the tool's presence matters; a file of length 0 counts as the tool.
    if (!folder.empty() && files.FileLength(folder + "regsvr32.exe").ok()) return folder;
  }
  return {};
}

// Waits for one registration command and records how it ended; the unattended run's check turns
// the ends into notes.
void NoteEnd(platform::WatchedProcess& process, std::chrono::milliseconds limit, const std::string& component,
             RunValues& run) {
  run.RegistrationEnds.push_back({component, process.WaitForExit(limit)});
}

}  // namespace

void RegisterInstalledFiles(const InstallerState& state, RunValues& run, platform::System& system,
                            std::optional<std::chrono::milliseconds> wait_limit) {
  run.RunStep = 5;
  const std::string matched = MatchedSystemFolder(state.SystemFolder, system.files);
  const std::string tool_folder = ToolFolder(matched, system.files);
  const std::string tool = tool_folder + "regsvr32.exe";
  // Components in a system folder are named in the matched folder's spelling.
  const std::string component_folder = matched.empty() ? state.SystemFolder : matched;
  if (tool_folder.empty()) {
    run.FailedCount = -1;
    run.RegistrationNotStarted = true;
    run.ReportText += report::kToolMissing;
    run.RunStep = 0;
    return;
  }

  run.RunStep = 6;
  const std::int16_t count = state.ComponentCount;
  for (int i = 1; i <= count; ++i) {
    if (run.InstalledFlags[i] != 1) continue;
    const std::string component = component_folder + state.ComponentCatalogue[i];
    // The report names the file as the destination was written.
    const std::string shown = state.SystemFolder + state.ComponentCatalogue[i];
    // The tool and its two arguments go to the process separately, never through a shell, so a
    // folder with blanks or shell characters registers exactly this file and runs nothing else.
    std::unique_ptr<platform::WatchedProcess> process;
    const platform::Status started = wait_limit ? system.processes.StartWatched(tool, {"/s", component}, process)
                                                : system.processes.StartDetached(tool, {"/s", component});
    if (!started.ok()) {
      run.FailedCount = -1;
      run.RegistrationNotStarted = true;
      run.ReportText = report::RegistrationFailureBlock(started.text()) + run.ReportText;
      break;
    }
    PauseAfterStart(system.clock);
    run.ReportText += shown + report::kRegistered + report::kLineEnd;
    if (process) NoteEnd(*process, *wait_limit, shown, run);
  }
  run.RunStep = 0;
}

}  // namespace engine
