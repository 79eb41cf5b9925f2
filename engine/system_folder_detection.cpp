#include "engine/system_folder_detection.h"

namespace engine {

void DetectSystemFolder(InstallerState& state, platform::FileSystem& files) {
  // The 64-bit system's folder for 32-bit components comes first, so that it is the one proposed
  // there; the rest are the folders of older Windows versions.
  static constexpr const char* kCandidates[] = {"c:\\windows\\sysWOW64\\", "c:\\windows\\system32\\",
                                                "c:\\windows\\system\\", "c:\\winnt\\system32\\"};
  state.SystemFolder.clear();
  for (const char* candidate : kCandidates) {
    // Any readable length counts, even 0: the marker only has to be there.
    if (files.FileLength(std::string(candidate) + "msvbvm60.dll").ok()) {
      state.SystemFolder = candidate;
      break;
    }
  }
  state.SourceFolder.clear();
}

}  // namespace engine
