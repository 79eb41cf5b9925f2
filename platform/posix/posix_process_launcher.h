#pragma once

#include <optional>

#include "platform/posix/drive_mapping.h"
#include "platform/process_launcher.h"

namespace platform::posix {

// Starts programs named by Windows paths. A program file that begins with "MZ" is a Windows
// program and is run by `wine` from PATH, in the prefix of the drive mapping; any other file is
// executed directly. There are no windows to minimise here: how the started program shows itself
// is its own affair (under Wine, the Windows program sees the window style Wine gives it), so the
// minimised-window hint of the interface has no counterpart on this host.
class PosixProcessLauncher : public ProcessLauncher {
 public:
  explicit PosixProcessLauncher(const DriveMapping& drives) : drives_(drives) {}

  Status StartDetached(const std::string& program, const std::vector<std::string>& arguments) override;
  Status StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                      std::unique_ptr<WatchedProcess>& process) override;

 private:
  // The host program to execute, its argument vector and its environment.
  struct HostCommand {
    std::string path;
    std::vector<std::string> argv;
    std::vector<std::string> environment;
  };
  Result<HostCommand> CommandFor(const std::string& program, const std::vector<std::string>& arguments) const;

  const DriveMapping& drives_;
  // Whether `wine --version` succeeded, asked before the first Windows program is started.
  mutable std::optional<Status> wine_starts_;
};

}  // namespace platform::posix
