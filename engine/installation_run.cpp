#include "engine/installation_run.h"

#include <exception>

#include "engine/registration.h"
#include "engine/registration_check.h"
#include "engine/report_text.h"
#include "platform/component_image.h"

namespace engine {
namespace {

// Where the copy pass goes on after a failure.
enum class Resume { kLineEnd, kCopy };

class CopyPass {
 public:
  CopyPass(const InstallerState& state, RunValues& run, RunHost& host, platform::FileSystem& files)
      : state_(state), run_(run), host_(host), files_(files) {}

  void Run() {
    const std::int16_t count = state_.ComponentCount;
    RecoverLeftovers(count);
    for (int i = 1; i <= count; ++i) {
      // Only a ticked box (1) counts; a greyed box (2) is not ticked.
      if (host_.CheckValue(i) != 1) continue;
      const std::size_t start = run_.ReportText.size();
      const std::int16_t failed = run_.FailedCount;
      Entry(i);
      if (run_.FailedCount != failed) run_.FailedEntries.push_back(run_.ReportText.substr(start));
      run_.ReportText += report::kLineEnd;
    }
  }

 private:
  // Works through one ticked entry and writes its line, without the line end.
  void Entry(int i) {
    const std::string& name = state_.ComponentCatalogue[i];
    const std::string source = state_.SourceFolder + name;
    const std::string destination = state_.SystemFolder + name;
    std::string& report = run_.ReportText;

    run_.RunStep = 1;
    report += name + report::kGap;
    const auto source_date = SourceDate(files_, source);
    if (!source_date.ok()) {
      OnFailure(source_date.status(), name);
      return;
    }
    report += source_date.value() + report::kGap;

    run_.RunStep = 2;
    const auto existing_date = files_.ModificationDate(destination);
    if (existing_date.ok()) {
      report += std::string(report::kTab) + report::kExisting + existing_date.value() + report::kGap;
      if (!host_.InstallWhateverDates() && !SourceIsNewer(source_date.value(), existing_date.value())) {
        report += report::kNotReplaced;
        ++run_.NotReplacedCount;
        run_.UpToDate.push_back(i);
        return;
      }
    } else if (OnFailure(existing_date.status(), name) != Resume::kCopy) {
      return;
    }

    // An empty or broken source file never replaces the installed one, which is not backed up
    // either. One that cannot be read fails as its copy would.
    run_.RunStep = 3;
    const platform::Result<bool> component = SourceIsComponent(files_, source);
    if (!component.ok() || !component.value()) {
      if (component.ok()) run_.RunStep = 7;
      OnFailure(component.status(), name);
      return;
    }

    if (existing_date.ok() && !run_.BackupFolder.empty() && !BackupWouldHoldTheNewFile(name, source, destination)) {
      run_.RunStep = 4;
      const platform::Status backup = Copy(destination, run_.BackupFolder + name, source);
      if (!backup.ok()) {
        OnFailure(backup, name);
        return;
      }
      report += report::kBackedUp;
    }

    run_.RunStep = 3;
    bool in_use = false;
    const platform::Status copy = Copy(source, destination, source, &in_use);
    if (!copy.ok()) {
      OnFailure(copy, name);
      return;
    }
    report += std::string(report::kTab) + report::kInstalled;
    run_.InstalledFlags[i] = 1;
    if (in_use) run_.ReplacedInUse.push_back(destination);
  }

  // The one place where what earlier runs left is put right and tidied, for every component whether
  // ticked or not, in the destination and in the backup folder, before anything is copied: a
  // component whose name a killed run left empty gets its old file back first, so that the date
  // rule and the backup see it, and old files renamed aside go as soon as no program holds them.
  void RecoverLeftovers(int count) {
    for (int i = 1; i <= count; ++i) {
      const std::string& name = state_.ComponentCatalogue[i];
      files_.RecoverLeftovers(state_.SystemFolder + name);
      if (!run_.BackupFolder.empty()) files_.RecoverLeftovers(run_.BackupFolder + name);
    }
  }

  // Whether backing up the installed file would replace a backup that is there by a copy of the
  // file being installed, as a forced second run with the same backup folder would: that backup is
  // kept, since it holds the older file that a roll-back needs.
  bool BackupWouldHoldTheNewFile(const std::string& name, const std::string& source, const std::string& destination) {
    return files_.IsRegularFile(run_.BackupFolder + name) && files_.SameContent(destination, source);
  }

  // Copies `from` over `to`, unless `to` is `from` itself or `component`, the file the entry
  // installs: a backup into the components folder would overwrite the new file with the old one.
  platform::Status Copy(const std::string& from, const std::string& to, const std::string& component,
                        bool* replaced_in_use = nullptr) {
    if (files_.SameFile(to, from) || files_.SameFile(to, component)) {
      return platform::Status::Failure(report::kSameFile);
    }
    return files_.CopyReplacing(from, to, replaced_in_use);
  }

  // The pass's one failure handler: by the step under way it decides what to count and write,
  // and where the entry goes on.
  Resume OnFailure(const platform::Status& failure, const std::string& name) {
    std::string& report = run_.ReportText;
    switch (run_.RunStep) {
      case 1:  // the source file cannot be read
        ++run_.FailedCount;
        report += report::kSourceMissing;
        return Resume::kLineEnd;
      case 2:  // no installed file to compare with: copy without a backup
        return Resume::kCopy;
      case 3:  // the copy into the system folder
        ++run_.FailedCount;
        // The bare file name, wherever the sources are read from.
        report += std::string(report::kLineEnd) + name + report::kCouldNotInstall + failure.text();
        return Resume::kLineEnd;
      case 4:  // the backup copy; the installed file stays as it is
        ++run_.FailedCount;
        report += report::BackupFailed(run_.BackupFolder, failure.text());
        return Resume::kLineEnd;
      case 7:  // the source file is no component; the installed file stays as it is
        ++run_.FailedCount;
        report += report::kNotAComponent;
        return Resume::kLineEnd;
      default:
        return Resume::kLineEnd;
    }
  }

  const InstallerState& state_;
  RunValues& run_;
  RunHost& host_;
  platform::FileSystem& files_;
};

}  // namespace

bool SourceIsNewer(const std::string& source_date, const std::string& installed_date) {
  // Both texts have eight digits, so comparing them as strings orders them by calendar day.
  return source_date > installed_date;
}

platform::Result<std::string> SourceDate(platform::FileSystem& files, const std::string& path) {
  platform::Result<std::string> date = files.ModificationDate(path);
  // Only the failure's existence counts: the report says "KÄLLFIL SAKNAS" without a text.
  if (date.ok() && !files.IsRegularFile(path)) return platform::Status::Failure(report::kSourceMissing);
  return date;
}

platform::Result<bool> SourceIsComponent(platform::FileSystem& files, const std::string& path) {
  // A component's DOS and PE headers lie within its first 4096 bytes.
  const platform::Result<std::string> head = files.ReadFileBytes(path, 4096);
  if (!head.ok()) return head.status();
  return platform::StartsAsPeImage(head.value());
}

std::optional<RunValues> RunInstallationValues(InstallerState& state, const std::string& destination_text,
                                               const std::string& backup_text, RunHost& host,
                                               platform::System& system) {
  RunValues run;

  state.SystemFolder = TrimSpaces(destination_text);
  if (state.SystemFolder.empty()) {
    host.ShowWarning(kNoDestination, kRunTitle);
    return std::nullopt;
  }
  state.SystemFolder = NormaliseFolder(state.SystemFolder);
  run.BackupFolder = NormaliseFolder(backup_text);

  // One installation at a time: a second one would back up the files that the first has just
  // installed, and the old ones would be lost.
  // A run that is to wait says so first, when it finds the lock taken.
  platform::Result<bool> taken = system.lock.Take({});
  if (taken.ok() && !taken.value() && host.LockWaitLimit() > std::chrono::milliseconds::zero()) {
    host.WaitingForAnotherRun();
    taken = system.lock.Take(host.LockWaitLimit());
  }
  if (!taken.ok() || !taken.value()) {
    run.Lock = taken.ok() ? LockOutcome::kHeldByAnotherRun : LockOutcome::kNotMade;
    host.ShowWarning(taken.ok() ? kAnotherRun : taken.status().text(), kRunTitle);
    return run;
  }
  try {
    CopyPass(state, run, host, system.files).Run();
    run.FilesFailed = run.FailedCount;
    run.RunStep = 0;
    run.ReportText = report::FailureHeader(run.FailedCount, state.ComponentCount) + run.ReportText;
    if (run.FailedCount != state.ComponentCount) {
      run.ReportText += report::kLineEnd;
      const auto wait_limit = host.RegistrationWaitLimit();
      if (wait_limit) {
        RegisterAndCheck(state, run, system, *wait_limit);
      } else {
        RegisterInstalledFiles(state, run, system);
      }
    }
  } catch (const std::exception& failure) {
    // Anything that fails outside the steps of one file is told in a message box; the report of
    // what was done so far is still shown.
    host.ShowWarning(failure.what(), kRunTitle);
  }
  system.lock.Release();

  run.ReportText = report::SummaryBlock(run.NotReplacedCount, run.FailedCount, state.ComponentCount) + run.ReportText;
  if (!run.ReplacedInUse.empty()) {
    // The missing-tool text has no line end of its own.
    if (!run.ReportText.ends_with(report::kLineEnd)) run.ReportText += report::kLineEnd;
    run.ReportText += report::InUseBlock(run.ReplacedInUse);
  }
  return run;
}

std::optional<std::string> RunInstallation(InstallerState& state, const std::string& destination_text,
                                           const std::string& backup_text, RunHost& host,
                                           platform::System& system) {
  std::optional<RunValues> run = RunInstallationValues(state, destination_text, backup_text, host, system);
  if (!run || run->Lock != LockOutcome::kTaken) return std::nullopt;
  return std::move(run->ReportText);
}

}  // namespace engine
