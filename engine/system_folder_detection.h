#pragma once

#include "engine/installer_state.h"
#include "platform/file_system.h"

namespace engine {

// Proposes the system folder: the first of the candidate folders that holds a readable
// "msvbvm60.dll" becomes SystemFolder, or it stays empty when none does. Clears SourceFolder.
void DetectSystemFolder(InstallerState& state, platform::FileSystem& files);

}  // namespace engine
