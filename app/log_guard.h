#pragma once

#include <string>

#include "engine/installer_state.h"
#include "platform/file_system.h"

namespace app {

// What the report would destroy if it were written to `log`, such as "komponenten comdlg32.ocx i
// källmappen", or "" when `log` is none of these: a catalogue component in the source folder
// (SourceFolder, empty for the current folder), in `destination` or in `backup` (folder strings,
// empty for none); the marker or the registration tool in a candidate system folder or in
// `destination`; the running program. A file that does not exist yet counts by its folder and name:
// a log in its place would be replaced by the component that the run copies there, or the reverse.
std::string LogClash(const std::string& log, const engine::InstallerState& state, const std::string& destination,
                     const std::string& backup, platform::FileSystem& files);

}  // namespace app
