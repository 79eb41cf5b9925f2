#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform::posix {

// The drive letters of a Wine prefix and the translation of Windows path strings to host paths
// and back.
//
// The prefix is $WINEPREFIX when set and not empty, else $HOME/.wine. When <prefix>/dosdevices/
// exists, each entry there named "<letter>:" (either case) that resolves to a folder is a drive;
// otherwise the only drive is c:, mapped to "/". The drives are read once, when the mapping is made.
class DriveMapping {
 public:
  // The mapping of the prefix that the environment names at the time of the call.
  static DriveMapping FromEnvironment();
  // The mapping read from `prefix`; an empty prefix has no dosdevices folder.
  explicit DriveMapping(std::string prefix);

  const std::string& Prefix() const { return prefix_; }

  // The drives, "c:", "d:", in letter order.
  std::vector<std::string> Drives() const;
  // The drive's host folder without symbolic links; null when `letter` (either case) is not mapped.
  const std::string* DriveFolder(char letter) const;
  // The lower-case letter of the drive whose folder holds the absolute host path `host_path`, the
  // drive with the longest folder when several do; nullopt when none does.
  std::optional<char> DriveHolding(const std::string& host_path) const;

  // The host path of a Windows path string. "\" and "/" both separate components; each component
  // is matched against what exists on disk, an exact match first, then without regard to case;
  // one that does not exist is used as written. "." and ".." are applied to the text, never above
  // a drive's root. A path without a drive is relative to the process's current folder, one that
  // starts with "\" to the root of the drive that holds it, and "x:name" to drive x's current
  // folder. Fails with the missing-path text for an unmapped drive or an empty path.
  Result<std::string> ToHost(const std::string& windows_path) const;

  // The Windows form of a host folder, "c:\" or "c:\users\ebrona": the drive whose folder holds it
  // (the longest match) followed by the remaining components joined with "\". Symbolic links are
  // resolved first when the folder exists. nullopt when no drive holds it.
  std::optional<std::string> ToWindows(const std::string& host_folder) const;

  // The current folder of drive `letter` on the host: the process's current folder when that drive
  // holds it, else the drive's root. Fails for an unmapped drive.
  Result<std::string> CurrentFolderOf(char letter) const;

  // The process's current folder, as the host names it.
  static Result<std::string> ProcessFolder();

 private:
  std::string prefix_;
  std::map<char, std::string> folders_;  // lower-case letter -> resolved host folder
};

}  // namespace platform::posix
