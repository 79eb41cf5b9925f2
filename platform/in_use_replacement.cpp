#include "platform/in_use_replacement.h"

namespace platform {
namespace {

// The failure followed by the programs that hold the file: " Filen används av: Ebrona Kassa (4711)."
Status WithHolders(const Status& failure, const std::vector<FileHolder>& holders) {
  if (holders.empty()) return failure;
  std::string text = failure.text() + " Filen används av: ";
  for (const FileHolder& holder : holders) {
    if (&holder != &holders.front()) text += ", ";
    text += holder.name + " (" + std::to_string(holder.process_id) + ")";
  }
  return Status::Failure(text + ".");
}

}  // namespace

Status ReplaceFileInUse(InUseSteps& steps, const std::string& replacement, const std::string& destination) {
  const Result<std::string> aside = steps.RenameAside(destination);
  if (!aside.ok()) return WithHolders(aside.status(), steps.Holders(destination));
  const Status moved_in = steps.Rename(replacement, destination);
  if (!moved_in.ok()) {
    // Should even this fail, the old file stays under its new name and is not deleted at restart.
    steps.Rename(aside.value(), destination);
    return moved_in;
  }
  steps.DeleteAtRestart(aside.value());
  return Status::Ok();
}

}  // namespace platform
