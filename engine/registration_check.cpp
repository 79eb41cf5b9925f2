#include "engine/registration_check.h"

#include <algorithm>
#include <map>

#include "engine/registration.h"
#include "engine/report_text.h"

namespace engine {
namespace {

constexpr const char* kNotRegistered = " KUNDE INTE REGISTRERAS";

// What the check found for one component.
struct Verdict {
  bool failed = false;
  // False for a component whose registration cannot be checked: it has no type library.
  bool checkable = true;
  std::string line;
};

// The registry, read at most once per round of checks and only when a component needs it.
class RegistryReading {
 public:
  explicit RegistryReading(platform::ComponentRegistration& registration) : registration_(registration) {}
  const platform::Status& Get() {
    if (!read_) status_ = registration_.ReadRegistry(), read_ = true;
    return status_;
  }

 private:
  platform::ComponentRegistration& registration_;
  bool read_ = false;
  platform::Status status_;
};

// Whether the registered `value` names `component`; the line of a failed check otherwise.
std::optional<std::string> Mismatch(const std::string& component, const std::string& guid, const char* what,
                                    const std::optional<std::string>& value,
                                    platform::ComponentRegistration& registration) {
  if (!value || value->empty()) return component + ": INTE REGISTRERAD: " + what + guid + " saknas i registret.";
  if (registration.NamesFile(*value, component)) return std::nullopt;
  return component + ": REGISTRERAD TILL EN ANNAN FIL: " + guid + " pekar på " + *value + ".";
}

Verdict Check(const std::string& component, platform::ComponentRegistration& registration, RegistryReading& registry) {
  const platform::Result<platform::ComponentFacts> facts = registration.ReadFacts(component);
  if (!facts.ok() || !facts.value().library) {
    return {false, false, component + ": har inget typbibliotek; registreringen kan inte kontrolleras."};
  }
  const platform::Status& read = registry.Get();
  if (!read.ok()) return {true, true, component + ": registret kunde inte läsas: " + read.text()};
  const unsigned bits = facts.value().bits;
  const platform::TypeLibraryInfo& library = *facts.value().library;
  for (const std::string& clsid : library.creatable_classes) {
    const auto wrong = Mismatch(component, clsid, "klassen ", registration.ClassServer(clsid, bits), registration);
    if (wrong) return {true, true, *wrong};
  }
  const auto wrong = Mismatch(component, library.libid, "typbiblioteket ",
                              registration.TypeLibraryFile(library, bits), registration);
  if (wrong) return {true, true, *wrong};
  return {false, true, component + ": registreringen kontrollerad."};
}

// Registers the entries flagged in `run`, noting each command that failed or did not end in time
// with the DLLs that the file imports and that are missing, read before it is registered. Returns
// the components whose command ended with status 0.
std::vector<std::string> Register(const InstallerState& state, RunValues& run, platform::System& system,
                                  std::chrono::milliseconds wait_limit) {
  std::map<std::string, std::vector<std::string>> missing;
  for (int i = 1; i <= state.ComponentCount; ++i) {
    const std::string component = state.SystemFolder + state.ComponentCatalogue[i];
    if (run.InstalledFlags[i] == 1) missing[component] = system.registration.MissingImports(component);
  }
  RegisterInstalledFiles(state, run, system, wait_limit);
  std::vector<std::string> registered;
  for (const auto& [component, status] : run.RegistrationEnds) {
    if (status == 0u) {
      registered.push_back(component);
      continue;
    }
    run.RegistrationNotes.push_back(status ? report::RegistrationExitCode(component, *status, missing[component])
                                           : report::RegistrationTimedOut(component));
  }
  return registered;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

void RegisterAndCheck(const InstallerState& state, RunValues& run, platform::System& system,
                      std::chrono::milliseconds wait_limit) {
  const std::vector<std::string> registered = Register(state, run, system, wait_limit);
  std::vector<std::string> failed;
  for (const auto& [component, status] : run.RegistrationEnds) {
    if (status != 0u) failed.push_back(component);
  }
  if (!run.RegistrationNotStarted) {
    RegistryReading registry(system.registration);
    std::map<std::string, Verdict> verdicts;
    std::vector<std::string> order;
    for (int i = 1; i <= state.ComponentCount; ++i) {
      const std::string component = state.SystemFolder + state.ComponentCatalogue[i];
      const bool up_to_date = std::find(run.UpToDate.begin(), run.UpToDate.end(), i) != run.UpToDate.end();
      if (!up_to_date && !Contains(registered, component)) continue;
      verdicts[component] = Check(component, system.registration, registry);
      order.push_back(component);
    }
    // Up-to-date components whose registration is broken are registered again, and checked again.
    RunValues again;
    for (const int i : run.UpToDate) {
      const std::string component = state.SystemFolder + state.ComponentCatalogue[i];
      const Verdict& verdict = verdicts[component];
      if (verdict.failed && registry.Get().ok()) again.InstalledFlags[i] = 1;
    }
    if (std::find(again.InstalledFlags.begin(), again.InstalledFlags.end(), 1) != again.InstalledFlags.end()) {
      const std::vector<std::string> repaired = Register(state, again, system, wait_limit);
      run.ReportText += again.ReportText;
      RegistryReading after(system.registration);
      for (const auto& [component, status] : again.RegistrationEnds) {
        if (status == 0u) {
          verdicts[component] = Check(component, system.registration, after);
        } else {
          verdicts[component].failed = true;
          failed.push_back(component);
        }
      }
      run.RegistrationNotes.insert(run.RegistrationNotes.end(), again.RegistrationNotes.begin(),
                                   again.RegistrationNotes.end());
      run.RegistrationNotStarted = run.RegistrationNotStarted || again.RegistrationNotStarted;
    }
    for (const std::string& component : order) {
      const Verdict& verdict = verdicts[component];
      if (verdict.failed && !Contains(failed, component)) failed.push_back(component);
      // An up-to-date component that cannot be checked was not touched: nothing to say of it.
      if (verdict.checkable || Contains(registered, component)) run.RegistrationNotes.push_back(verdict.line);
    }
  }
  if (failed.empty()) return;
  run.RegistrationFailed = true;
  run.FailedCount = -1;
  for (const std::string& component : failed) {
    const std::string line = component + report::kRegistered + report::kLineEnd;
    const std::size_t at = run.ReportText.find(line);
    if (at != std::string::npos) {
      run.ReportText.replace(at, line.size(), component + kNotRegistered + report::kLineEnd);
    }
  }
}

std::vector<std::string> BrokenRegistrations(const InstallerState& state, RunHost& host, platform::System& system) {
  RegistryReading registry(system.registration);
  std::vector<std::string> broken;
  for (int i = 1; i <= state.ComponentCount; ++i) {
    if (host.CheckValue(i) != 1) continue;
    const std::string component = state.SystemFolder + state.ComponentCatalogue[i];
    if (!system.files.FileLength(component).ok()) continue;
    const Verdict verdict = Check(component, system.registration, registry);
    if (verdict.failed) broken.push_back(verdict.line);
  }
  return broken;
}

}  // namespace engine
