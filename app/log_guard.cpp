#include "app/log_guard.h"

#include <cctype>

#include "engine/system_folder_detection.h"

namespace app {
namespace {

// The folder of `path` as a folder string: up to its last separator, the drive of "c:name", or the
// current folder for a bare name.
std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator != std::string::npos) return path.substr(0, separator + 1);
  return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".\\";
}

// The last name in `path`, in lower case and without the dots and blanks at its end that Windows
// drops from a file name.
std::string NameOf(const std::string& path) {
  std::string name = path.substr(path.find_last_of("\\/:") + 1);
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

// Whether `log` is the file `name` (lower case) in `folder`: that file itself when it exists, or
// the same name in the same folder.
bool Names(platform::FileSystem& files, const std::string& log, const std::string& folder, const std::string& name) {
  const std::string where = folder.empty() ? ".\\" : folder;
  return files.SameFile(log, where + name) || (NameOf(log) == name && files.SameFile(FolderOf(log), where));
}

}  // namespace

std::string LogClash(const std::string& log, const engine::InstallerState& state, const std::string& destination,
                     const std::string& backup, platform::FileSystem& files) {
  if (files.IsRunningProgram(log)) return "programmet självt";
  const struct {
    const std::string& folder;
    const char* called;
  } places[] = {{state.SourceFolder, "källmappen"}, {destination, "destinationsmappen"}, {backup, "mappen för kopior"}};
  for (const auto& [folder, called] : places) {
    // An empty source folder is the current folder; an empty destination or backup folder is none.
    if (folder.empty() && &folder != &state.SourceFolder) continue;
    for (int i = 1; i <= state.ComponentCount; ++i) {
      const std::string& name = state.ComponentCatalogue[static_cast<std::size_t>(i)];
      if (Names(files, log, folder, name)) return "komponenten " + name + " i " + called;
    }
  }
  // The system's own files, in every folder that may be the system folder and in the destination.
  std::vector<std::string> system_folders(std::begin(engine::kSystemFolderCandidates),
                                          std::end(engine::kSystemFolderCandidates));
  if (!destination.empty()) system_folders.push_back(destination);
  for (const std::string& folder : system_folders) {
    if (Names(files, log, folder, engine::kSystemFolderMarker)) return "markörfilen " + folder + engine::kSystemFolderMarker;
    if (Names(files, log, folder, "regsvr32.exe")) return "registreringsverktyget " + folder + "regsvr32.exe";
  }
  return {};
}

}  // namespace app
