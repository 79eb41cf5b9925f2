#pragma once

#include "platform/file_system.h"

namespace platform::win32 {

// Files and folders through the wide Win32 API; the program's folder strings are native here.
class Win32FileSystem : public FileSystem {
 public:
  Result<std::uint64_t> FileLength(const std::string& path) override;
  Result<std::string> ReadFileBytes(const std::string& path, std::uint64_t limit) override;
  Result<std::string> ModificationDate(const std::string& path) override;
  bool IsRegularFile(const std::string& path) override;
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
};

}  // namespace platform::win32
