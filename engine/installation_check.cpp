#include "engine/installation_check.h"

namespace engine {

std::optional<bool> WouldInstallAny(InstallerState& state, const std::string& destination_text, RunHost& host,
                                    platform::FileSystem& files) {
  state.SystemFolder = NormaliseFolder(destination_text);
  if (state.SystemFolder.empty()) {
    host.ShowWarning(kNoDestination, kRunTitle);
    return std::nullopt;
  }
  for (int i = 1; i <= state.ComponentCount; ++i) {
    if (host.CheckValue(i) != 1) continue;
    const std::string& name = state.ComponentCatalogue[static_cast<std::size_t>(i)];
    const auto source_date = SourceDate(files, state.SourceFolder + name);
    if (!source_date.ok()) continue;
    // As in the run, an installed file whose date cannot be read is replaced.
    const auto installed_date = files.ModificationDate(state.SystemFolder + name);
    if (!host.InstallWhateverDates() && installed_date.ok() &&
        !SourceIsNewer(source_date.value(), installed_date.value())) {
      continue;
    }
    // A source that is no component would fail, not be copied.
    const auto component = SourceIsComponent(files, state.SourceFolder + name);
    if (component.ok() && component.value()) return true;
  }
  return false;
}

}  // namespace engine
