#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
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
};

// The warning that refuses a run for an empty destination, and its title.
inline constexpr const char* kNoDestination = "Ange destinationsmapp för systemfiler.";
inline constexpr const char* kRunTitle = "Installera systemfiler";

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
  std::vector<std::string> RegistrationNotes;  // commands that failed or did not end in time
};

// Whether the installed file gives way to the source: its date, "yyyymmdd", is an earlier
// calendar day than the source's.
bool SourceIsNewer(const std::string& source_date, const std::string& installed_date);

// The run behind "Installera": applies the folder rules to the destination text (`Text1`) and the
// backup text (`Text2`), copies every ticked entry whose installed file is older by calendar day or
// missing (backing up the old file first when a backup folder is given), registers the copied
// files and builds the report. Returns the finished report, or nothing when the run was refused
// for an empty destination (the warning has then been shown). Showing the report and ending the
// program are the caller's.
std::optional<std::string> RunInstallation(InstallerState& state, const std::string& destination_text,
                                           const std::string& backup_text, RunHost& host,
                                           platform::System& system);

// The same run, returning all of its values (for callers and tests that look at the counters).
std::optional<RunValues> RunInstallationValues(InstallerState& state, const std::string& destination_text,
                                               const std::string& backup_text, RunHost& host,
                                               platform::System& system);

}  // namespace engine
