#include "engine/registration.h"

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

// Whether `folder` is one of the system's own folders, under whatever spelling. Only there is a file
// named regsvr32.exe the system's registration tool: in any other folder it may be a program that
// whoever can write there put in, which must not run with the installer's rights.
bool IsSystemFolder(const std::string& folder, platform::FileSystem& files) {
  for (const std::string& system_folder : files.SystemFolders()) {
    if (files.SameFile(system_folder, folder)) return true;
  }
  return false;
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
  const std::string tool = state.SystemFolder + "regsvr32.exe";
  // Only the tool's presence matters; a file of length 0 counts as the tool. Outside the system's
  // folders there is no tool, whatever file of its name the folder holds.
  if (!IsSystemFolder(state.SystemFolder, system.files) || !system.files.FileLength(tool).ok()) {
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
    const std::string component = state.SystemFolder + state.ComponentCatalogue[i];
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
    run.ReportText += component + report::kRegistered + report::kLineEnd;
    if (process) NoteEnd(*process, *wait_limit, component, run);
  }
  run.RunStep = 0;
}

}  // namespace engine
