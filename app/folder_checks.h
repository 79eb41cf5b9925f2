#pragma once

#include <string>
#include <vector>

#include "app/choices.h"
#include "engine/installer_state.h"
#include "platform/file_system.h"

namespace app {

// The outcome of the folder checks: the lines that refuse the run, or the entries it works on.
struct FolderCheck {
  std::vector<std::string> refusal;  // names the folder and what is wrong with it; empty when all is well
  std::vector<int> selection;        // the catalogue entries to work on, in catalogue order
};

// The checks that an unattended run makes before anything else, on the folder strings
// `destination` and `backup` (empty for none) and the source folder (SourceFolder, empty for the
// current folder): the destination is given or found and is an existing folder, so is the backup
// folder when given, the source folder exists and is not the destination, and the backup folder is
// neither of the two. A file given as a folder is named a file. The selection is
// the components named by the choices, each of which must be in the source folder, or without
// names the catalogue's components that are there, at least one.
FolderCheck CheckFolders(const Choices& choices, const engine::InstallerState& state, const std::string& destination,
                         const std::string& backup, platform::FileSystem& files);

}  // namespace app
