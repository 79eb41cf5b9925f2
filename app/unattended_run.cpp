#include "app/unattended_run.h"

#include <algorithm>

#include "app/folder_checks.h"
#include "app/log_guard.h"
#include "app/switches.h"
#include "engine/installation_check.h"
#include "engine/installation_run.h"
#include "engine/registration_check.h"
#include "engine/report_text.h"
#include "engine/system_folder_detection.h"

namespace app {
namespace {

using Output = std::function<void(const std::string&)>;

// The line that tells, when the wait begins, why a run seems to do nothing.
constexpr const char* kWaiting = "Väntar på att en annan installation ska bli klar, högst 10 minuter.";

// The main window as an unattended run answers for it: the boxes of the selection ticked, warnings
// as lines on the error stream, and registrations waited for.
class UnattendedHost : public engine::RunHost {
 public:
  UnattendedHost(const std::vector<int>& selection, bool force, const Output& error_line,
                 std::chrono::milliseconds wait, std::chrono::milliseconds lock_wait)
      : selection_(selection), force_(force), error_line_(error_line), wait_(wait), lock_wait_(lock_wait) {}

  std::int16_t CheckValue(int index) const override {
    return std::find(selection_.begin(), selection_.end(), index) != selection_.end() ? 1 : 0;
  }
  void ShowWarning(const std::string& prompt, const std::string&) override {
    warnings_ += prompt + engine::report::kLineEnd;
    error_line_(prompt);
  }
  std::optional<std::chrono::milliseconds> RegistrationWaitLimit() const override { return wait_; }
  std::chrono::milliseconds LockWaitLimit() const override { return lock_wait_; }
  void WaitingForAnotherRun() override { error_line_(kWaiting); }
  bool InstallWhateverDates() const override { return force_; }

  // Every warning shown so far, each ended by CR LF.
  const std::string& warnings() const { return warnings_; }

 private:
  const std::vector<int>& selection_;
  bool force_;
  const Output& error_line_;
  std::chrono::milliseconds wait_;
  std::chrono::milliseconds lock_wait_;
  std::string warnings_;
};

// The log's content: the report, then after an empty line the notes on registration commands.
std::string LogText(const engine::RunValues& run) {
  std::string text = run.ReportText;
  if (run.RegistrationNotes.empty()) return text;
  if (text.size() < 2 || text.compare(text.size() - 2, 2, engine::report::kLineEnd) != 0) {
    text += engine::report::kLineEnd;
  }
  text += engine::report::kLineEnd;
  for (const std::string& note : run.RegistrationNotes) text += note + engine::report::kLineEnd;
  return text;
}

int ExitCodeOf(const engine::RunValues& run, bool warned) {
  int code = kExitDone;
  // A warning during a run that went ahead tells of a failure outside the files' own steps.
  if (run.FilesFailed > 0 || warned) code = Worse(code, kExitFilesFailed);
  // A missing tool matters only when a copied file was left unregistered.
  const bool copied = std::find(run.InstalledFlags.begin(), run.InstalledFlags.end(), 1) != run.InstalledFlags.end();
  if (run.RegistrationNotStarted && copied) code = Worse(code, kExitToolNotStarted);
  if (run.RegistrationFailed) code = Worse(code, kExitRegistrationFailed);
  // A restart completes the run: the programs that held the replaced files still use the old ones.
  if (!run.ReplacedInUse.empty()) code = Worse(code, kExitRestartNeeded);
  return code;
}

// Writes `text` to the log as UTF-8 with a byte-order mark, so that Notepad and PowerShell read the
// Swedish letters right. When it cannot be written, says so and, unless `text` has been told
// already, puts it on the error stream so that it is not lost. Returns `code`, or worse.
int WriteLog(platform::FileSystem& files, const std::string& log, const std::string& text, bool told, int code,
             const Output& error_stream) {
  const platform::Status written = files.WriteFileReplacing(log, "\xEF\xBB\xBF" + text);
  if (written.ok()) return code;
  error_stream("ebrona-installer: Loggfilen " + log + " kunde inte skrivas: " + written.text() + "\n");
  if (!told) {
    std::string lines;
    for (const char c : text) {
      if (c != '\r') lines += c;
    }
    if (!lines.empty() && lines.back() != '\n') lines += '\n';
    error_stream(lines);
  }
  return Worse(code, kExitLogNotWritten);
}

}  // namespace

int RunUnattended(const Choices& choices, platform::System& system, const Output& error_stream,
                  std::chrono::milliseconds registration_wait, std::chrono::milliseconds lock_wait) {
  const Output error_line = [&error_stream](const std::string& line) {
    error_stream("ebrona-installer: " + line + "\n");
  };
  // The state as the main window's load leaves it, with the choices in the place of the boxes.
  engine::InstallerState state;
  engine::FillCatalogue(state);
  state.ComponentCount = engine::kInstalledComponentCount;
  engine::DetectSystemFolder(state, system.files);
  const std::string destination = engine::NormaliseFolder(choices.destination.value_or(state.SystemFolder));
  const std::string backup = engine::NormaliseFolder(choices.backup.value_or(""));
  if (choices.source) state.SourceFolder = engine::NormaliseFolder(*choices.source);

  if (choices.log) {
    if (system.files.IsFolder(*choices.log)) {
      error_line("Loggfilen " + *choices.log + " är en mapp. Ange en fil med /LOG=<fil>.");
      return kExitUsage;
    }
    const std::string clash = LogClash(*choices.log, state, destination, backup, system.files);
    if (!clash.empty()) {
      error_line("Loggfilen " + *choices.log + " skulle skriva över " + clash + ". Ange en annan fil med /LOG=<fil>.");
      return kExitUsage;
    }
  }
  const FolderCheck checked = CheckFolders(choices, state, destination, backup, system.files);
  if (!checked.refusal.empty()) {
    std::string text;
    for (const std::string& line : checked.refusal) {
      error_line(line);
      text += line + engine::report::kLineEnd;
    }
    // The check writes nothing, not even its log.
    if (!choices.log || choices.mode == Mode::kCheck) return kExitRefused;
    return WriteLog(system.files, *choices.log, text, true, kExitRefused, error_stream);
  }
  UnattendedHost host(checked.selection, choices.force, error_line, registration_wait, lock_wait);

  if (choices.mode == Mode::kCheck) {
    const std::optional<bool> would_copy = engine::WouldInstallAny(state, destination, host, system.files);
    if (!would_copy) return kExitRefused;
    // A component whose registration is broken needs the run as much as one that would be copied.
    const std::vector<std::string> broken = engine::BrokenRegistrations(state, host, system);
    for (const std::string& line : broken) error_line(line);
    return *would_copy || !broken.empty() ? kExitFilesFailed : kExitDone;
  }

  const std::optional<engine::RunValues> run =
      engine::RunInstallationValues(state, destination, backup, host, system);
  if (!run) return kExitRefused;  // the destination was checked above, so this is not reached
  // Another run held the lock all the time: nothing was done, and that code stands alone, so that
  // the deployment tool tries again. A lock that could not be made is a failure of its own (1).
  const bool ran = run->Lock == engine::LockOutcome::kTaken;
  const bool busy = run->Lock == engine::LockOutcome::kHeldByAnotherRun;
  const int code = busy ? kExitAnotherRun : ExitCodeOf(*run, !host.warnings().empty());
  // Why entries or registrations failed stands on the error stream too, where a deployment tool
  // shows it without the log.
  for (const std::string& entry : run->FailedEntries) {
    for (std::size_t at = 0; at <= entry.size();) {
      const std::size_t end = std::min(entry.find(engine::report::kLineEnd, at), entry.size());
      if (end > at) error_line(entry.substr(at, end - at));
      at = end + 2;
    }
  }
  for (const std::string& note : run->RegistrationNotes) error_line(note);
  if (!choices.log) return code;
  // A run that did nothing logs its warnings, which are on the error stream already.
  const int logged = WriteLog(system.files, *choices.log, ran ? LogText(*run) : host.warnings(), !ran, code,
                              error_stream);
  return busy ? code : logged;
}

}  // namespace app
