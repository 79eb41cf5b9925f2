#pragma once

#include "engine/installer_state.h"
#include "platform/file_system.h"

namespace engine {

// The folders that may be the system folder, in the order they are tested, and the marker file whose
// presence makes one of them the system folder. The 64-bit system's folder for 32-bit components
// comes first, so that it is the one proposed there; the rest are the folders of older Windows versions.
inline constexpr const char* kSystemFolderCandidates[] = {"c:\\windows\\sysWOW64\\", "c:\\windows\\system32\\",
                                                          "c:\\windows\\system\\", "c:\\winnt\\system32\\"};
inline constexpr const char* kSystemFolderMarker = "msvbvm60.dll";

// Proposes the system folder: the first of the candidate folders that holds a readable
// "msvbvm60.dll" becomes SystemFolder, or it stays empty when none does. Clears SourceFolder.
void DetectSystemFolder(InstallerState& state, platform::FileSystem& files);

}  // namespace engine
