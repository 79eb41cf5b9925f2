#include "app/folder_checks.h"

#include <algorithm>

#include "engine/installation_run.h"
#include "engine/system_folder_detection.h"

namespace app {
namespace {

// Why no destination was found, and what to do.
std::string NoSystemFolder() {
  std::string text = "Ingen systemmapp hittades: ";
  text += engine::kSystemFolderMarker;
  text += " finns inte i";
  const std::size_t count = std::size(engine::kSystemFolderCandidates);
  for (std::size_t i = 0; i < count; ++i) {
    text += (i == 0 ? " " : i + 1 == count ? " eller " : ", ") + std::string(engine::kSystemFolderCandidates[i]);
  }
  return text + ". Ange destinationsmappen med /DIR=<mapp>.";
}

// The source folder as the messages name it: as given, or the current folder.
std::string SourceShown(const engine::InstallerState& state, platform::FileSystem& files) {
  if (!state.SourceFolder.empty()) return state.SourceFolder;
  const platform::Result<std::string> current = files.DriveCurrentFolder("");
  return current.ok() ? engine::NormaliseFolder(current.value()) : "(den aktuella mappen)";
}

// Why `folder` (a folder string), which is no folder, cannot be used as the `called` folder: a file
// is named as such, without the "\\" that makes it a folder string.
std::string NoFolder(const std::string& called, const std::string& folder, platform::FileSystem& files) {
  const std::string file = folder.size() > 1 && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
  if (files.IsRegularFile(file)) return called + " " + file + " är en fil, inte en mapp.";
  return called + " " + folder + " finns inte eller är ingen mapp.";
}

}  // namespace

FolderCheck CheckFolders(const Choices& choices, const engine::InstallerState& state, const std::string& destination,
                         const std::string& backup, platform::FileSystem& files) {
  const auto refused = [](std::vector<std::string> lines) { return FolderCheck{std::move(lines), {}}; };
  if (destination.empty()) return refused({engine::kNoDestination, NoSystemFolder()});
  if (!files.IsFolder(destination)) return refused({NoFolder("Destinationsmappen", destination, files)});
  if (!backup.empty() && !files.IsFolder(backup)) return refused({NoFolder("Mappen för kopior", backup, files)});
  const std::string source = state.SourceFolder.empty() ? ".\\" : state.SourceFolder;
  const std::string shown = SourceShown(state, files);
  if (!files.IsFolder(source)) return refused({NoFolder("Källmappen", shown, files)});
  if (files.SameFile(source, destination)) {
    return refused({"Källmappen " + shown + " är destinationsmappen. Ange komponenternas mapp med /SOURCE=<mapp>."});
  }
  // Copies kept there would replace the files being installed, or be replaced by them.
  for (const auto& [folder, called] : {std::pair{destination, "destinationsmappen"}, std::pair{source, "källmappen"}}) {
    if (!backup.empty() && files.SameFile(backup, folder)) {
      return refused({"Mappen för kopior " + backup + " är " + called + ". Ange en annan mapp med /BACKUP=<mapp>."});
    }
  }

  // A component is there when the run could read its date: the same test that makes "KÄLLFIL SAKNAS".
  FolderCheck check;
  std::string missing;
  for (int i = 1; i <= state.ComponentCount; ++i) {
    const std::string& name = state.ComponentCatalogue[static_cast<std::size_t>(i)];
    const bool named = std::find(choices.components.begin(), choices.components.end(), i) != choices.components.end();
    if (!named && !choices.components.empty()) continue;
    if (engine::SourceDate(files, state.SourceFolder + name).ok()) {
      check.selection.push_back(i);
    } else if (named) {
      missing += (missing.empty() ? "" : ", ") + name;
    }
  }
  if (!missing.empty()) return refused({"Finns inte i källmappen " + shown + ": " + missing + "."});
  if (check.selection.empty()) return refused({"Källmappen " + shown + " innehåller ingen av komponenterna."});
  return check;
}

}  // namespace app
