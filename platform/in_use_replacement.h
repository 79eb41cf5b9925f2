#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

// A running program that holds a file open, as the system names it.
struct FileHolder {
  std::string name;
  std::uint32_t process_id = 0;
};

// The file operations that replacing a file in use is made of. The Windows file system supplies
// them; the tests' in-memory file system fails them one at a time.
class InUseSteps {
 public:
  virtual ~InUseSteps() = default;
  // Renames the file `path`, within its folder, to a free name of the program's temporary-file
  // family, so that later runs recognise it, and returns the new path. A program that has loaded the
  // file as a DLL does not stop this; one that opened it without delete sharing does.
  virtual Result<std::string> RenameAside(const std::string& path) = 0;
  // Renames the file `from` to `to`, in the same folder, where no file is.
  virtual Status Rename(const std::string& from, const std::string& to) = 0;
  // Has the file `path` deleted when the system next starts.
  virtual Status DeleteAtRestart(const std::string& path) = 0;
  // The running programs that hold `path` open, as far as the system can name them.
  virtual std::vector<FileHolder> Holders(const std::string& path) = 0;
};

// Puts the finished file `replacement` in the place of `destination`, which a running program
// holds so that nothing can be renamed over it: the old file is renamed aside, `replacement` takes
// its name, and the old file, which the program keeps using until it ends, is deleted at the next
// restart. Nothing is lost on failure: when `replacement` cannot take the name, the old file gets it
// back, and `replacement` is left for the caller to remove. When the old file cannot be renamed
// aside, the failure text names the programs that hold it. Should the deletion at restart not be
// arranged, the old file waits for a later run's clean-up; the replacement has succeeded all the same.
Status ReplaceFileInUse(InUseSteps& steps, const std::string& replacement, const std::string& destination);

}  // namespace platform
