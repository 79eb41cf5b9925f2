#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/installer_state.h"
#include "platform/system.h"

namespace engine {

// What an installation run needs from the main window besides the two folder texts.
class RunHost {
 public:
  virtual ~RunHost() = default;
  // The value of the check box of catalogue entry `index` (1 ticked; 0 and 2 are not).
  virtual std::int16_t CheckValue(int index) const = 0;
  // A modal warning message box with an OK button.
  virtual void ShowWarning(const std::string& prompt, const std::string& title) = 0;
  // How long the registration waits for each command it started to end, or nothing when it does
  // not wait for them (the window's run).
  virtual std::optional<std::chrono::milliseconds> RegistrationWaitLimit() const { return std::nullopt; }
  // How long the run waits for another installation to end before it gives up: not at all in the
  // window, which says at once that another one is under way.
  virtual std::chrono::milliseconds LockWaitLimit() const { return {}; }
  // Another installation holds the lock, and the wait of LockWaitLimit() for it begins now.
  virtual void WaitingForAnotherRun() {}
  // Whether a ticked entry is copied whatever the dates of the two files (/FORCE).
  virtual bool InstallWhateverDates() const { return false; }
};

// The warning that refuses a run for an empty destination, and its title.
inline constexpr const char* kNoDestination = "Ange destinationsmapp för systemfiler.";
inline constexpr const char* kRunTitle = "Installera systemfiler";
// The warning of a run that finds another installation under way, with the same title.
inline constexpr const char* kAnotherRun = "En annan installation av systemfiler pågår. Försök igen när den är klar.";

// How a run fared with the lock that lets one installation run at a time. Unless it was taken,
// nothing was done and the warning has been shown.
enum class LockOutcome { kTaken, kHeldByAnotherRun, kNotMade };

// The values of one installation run, created afresh by each run.
struct RunValues {
  std::string BackupFolder;
  std::array<std::int16_t, kCatalogueSlots> InstalledFlags{};
  std::string ReportText;
  std::int16_t FailedCount = 0;
  std::int16_t NotReplacedCount = 0;
  std::int16_t RunStep = 0;
  // The installed files that a running program held, so that they were replaced around it.
  std::vector<std::string> ReplacedInUse;

  // Besides the report, for a run without windows that ends with an exit code:
  std::int16_t FilesFailed = 0;          // FailedCount after the copy pass, before registration
  bool RegistrationNotStarted = false;   // the tool was missing or a command could not start
  // One line per registration command that failed or did not end in time, and per checked component.
  std::vector<std::string> RegistrationNotes;
  bool RegistrationFailed = false;       // a command failed, did not end in time, or its check failed
  // How each waited-for registration command ended: its status, or nothing when it did not end in time.
  std::vector<std::pair<std::string, std::optional<std::uint32_t>>> RegistrationEnds;
  std::vector<int> UpToDate;             // ticked entries whose installed file was kept ("(ej ersatt)")
  std::vector<std::string> FailedEntries;  // the report text of each entry that failed, without its line end
  LockOutcome Lock = LockOutcome::kTaken;
};

// Whether the installed file gives way to the source: its date, "yyyymmdd", is an earlier
// calendar day than the source's.
bool SourceIsNewer(const std::string& source_date, const std::string& installed_date);

// The date, "yyyymmdd", of the component file at `path` in the source folder. Fails when there is
// no such file, and when the name is taken by a FIFO, a device, a socket or a folder, which holds
// no component to install: the entry counts as a missing source file.
platform::Result<std::string> SourceDate(platform::FileSystem& files, const std::string& path);

// Whether the source file at `path` starts as a component does, as a PE image, judged by its first
// bytes; an empty file does not. Fails when the file cannot be read.
platform::Result<bool> SourceIsComponent(platform::FileSystem& files, const std::string& path);

// The run behind "Installera": applies the folder rules to the destination text (`Text1`) and the
// backup text (`Text2`), puts right what killed runs left, copies every ticked entry whose installed
// file is older by calendar day or missing (backing up the old file first when a backup folder is
// given, unless that would replace a backup by the file being installed) and whose source file is
// a component (an entry whose source is not fails, and its installed file stays), registers the copied
// files and builds the report, holding the lock of one installation at a time from the copy pass to
// the end of the registration. Returns the finished report, or nothing when the run was refused for
// an empty destination or did not get the lock (the warning has then been shown). Showing the report
// and ending the program are the caller's.
std::optional<std::string> RunInstallation(InstallerState& state, const std::string& destination_text,
                                           const std::string& backup_text, RunHost& host,
                                           platform::System& system);

// The same run, returning all of its values (for callers and tests that look at the counters).
std::optional<RunValues> RunInstallationValues(InstallerState& state, const std::string& destination_text,
                                               const std::string& backup_text, RunHost& host,
                                               platform::System& system);

}  // namespace engine
