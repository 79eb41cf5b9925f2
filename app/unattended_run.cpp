#include "app/unattended_run.h"

#include "app/switches.h"
#include "engine/installation_check.h"
#include "engine/installation_run.h"
#include "engine/report_text.h"
#include "engine/system_folder_detection.h"

namespace app {
namespace {

// The main window as an unattended run answers for it: the boxes ticked by the choices, warnings
// as lines on the error stream, and registrations waited for.
class UnattendedHost : public engine::RunHost {
 public:
  UnattendedHost(const Choices& choices, const std::function<void(const std::string&)>& error_line,
                 std::chrono::milliseconds wait)
      : choices_(choices), error_line_(error_line), wait_(wait) {}

  std::int16_t CheckValue(int index) const override { return choices_.Ticked(index) ? 1 : 0; }
  void ShowWarning(const std::string& prompt, const std::string&) override {
    warnings_ += prompt + engine::report::kLineEnd;
    error_line_(prompt);
  }
  std::optional<std::chrono::milliseconds> RegistrationWaitLimit() const override { return wait_; }

  // Every warning shown so far, each ended by CR LF.
  const std::string& warnings() const { return warnings_; }

 private:
  const Choices& choices_;
  const std::function<void(const std::string&)>& error_line_;
  std::chrono::milliseconds wait_;
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
  if (run.RegistrationNotStarted) code = Worse(code, kExitToolNotStarted);
  if (!run.RegistrationNotes.empty()) code = Worse(code, kExitRegistrationFailed);
  // A restart completes the run: the programs that held the replaced files still use the old ones.
  if (!run.ReplacedInUse.empty()) code = Worse(code, kExitRestartNeeded);
  return code;
}

}  // namespace

int RunUnattended(const Choices& choices, platform::System& system,
                  const std::function<void(const std::string&)>& error_line,
                  std::chrono::milliseconds registration_wait) {
  // The state as the main window's load leaves it, with the choices in the place of the boxes.
  engine::InstallerState state;
  engine::FillCatalogue(state);
  state.ComponentCount = engine::kInstalledComponentCount;
  engine::DetectSystemFolder(state, system.files);
  const std::string destination = choices.destination.value_or(state.SystemFolder);
  if (choices.source) state.SourceFolder = engine::NormaliseFolder(*choices.source);
  UnattendedHost host(choices, error_line, registration_wait);

  if (choices.mode == Mode::kCheck) {
    const std::optional<bool> would_copy = engine::WouldInstallAny(state, destination, host, system.files);
    if (!would_copy) return kExitRefused;
    return *would_copy ? kExitFilesFailed : kExitDone;
  }

  const std::optional<engine::RunValues> run =
      engine::RunInstallationValues(state, destination, choices.backup.value_or(""), host, system);
  const int code = run ? ExitCodeOf(*run, !host.warnings().empty()) : kExitRefused;
  if (!choices.log) return code;

  // UTF-8 with a byte-order mark, so that Notepad and PowerShell read the Swedish letters right.
  const std::string bytes = "\xEF\xBB\xBF" + (run ? LogText(*run) : host.warnings());
  const platform::Status written = system.files.WriteFileReplacing(*choices.log, bytes);
  if (written.ok()) return code;
  error_line("Loggfilen " + *choices.log + " kunde inte skrivas: " + written.text());
  return Worse(code, kExitLogNotWritten);
}

}  // namespace app
