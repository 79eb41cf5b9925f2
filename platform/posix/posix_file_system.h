#pragma once

#include "platform/file_system.h"
#include "platform/posix/drive_mapping.h"

namespace platform::posix {

// Files and folders on the host, addressed through the drives of a Wine prefix.
class PosixFileSystem : public FileSystem {
 public:
  explicit PosixFileSystem(const DriveMapping& drives) : drives_(drives) {}

  Result<std::uint64_t> FileLength(const std::string& path) override;
  Result<std::string> ReadFileBytes(const std::string& path, std::uint64_t limit) override;
  Result<std::string> ModificationDate(const std::string& path) override;
  bool IsRegularFile(const std::string& path) override;
  // A rename on POSIX replaces a file that others have open, so `*replaced_in_use` is always false.
  Status CopyReplacing(const std::string& source, const std::string& destination,
                       bool* replaced_in_use = nullptr) override;
  void RemoveLeftovers(const std::string& path) override;
  bool SameFile(const std::string& first, const std::string& second) override;
  bool IsFolder(const std::string& path) override;
  bool IsRunningProgram(const std::string& path) override;
  Status WriteFileReplacing(const std::string& path, const std::string& bytes) override;
  Status MakeFolder(const std::string& path) override;
  std::vector<std::string> Drives() override;
  Result<std::string> DriveCurrentFolder(const std::string& drive) override;
  Result<std::vector<std::string>> SubFolders(const std::string& folder) override;
  std::vector<std::string> SystemFolders() override;

 private:
  const DriveMapping& drives_;
};

}  // namespace platform::posix
