#include "engine/system_folder_detection.h"

namespace engine {

void DetectSystemFolder(InstallerState& state, platform::FileSystem& files) {
  state.SystemFolder.clear();
  for (const char* candidate : kSystemFolderCandidates) {
    // Any readable length counts, even 0: the marker only has to be there.
    if (files.FileLength(std::string(candidate) + kSystemFolderMarker).ok()) {
      state.SystemFolder = candidate;
      break;
    }
  }
  state.SourceFolder.clear();
}

}  // namespace engine
