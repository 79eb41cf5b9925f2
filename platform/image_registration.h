#pragma once

#include <string>

#include "platform/component_registration.h"
#include "platform/file_system.h"

namespace platform {

// The part of ComponentRegistration that every host answers alike: what a component file says of
// itself, read from its bytes, and which file a registry value names, decided by the file system.
// The registry itself is the host's (ReadRegistry, ClassServer, TypeLibraryFile).
class ImageRegistration : public ComponentRegistration {
 public:
  // `windows_folder` is where the Windows folder lies ("c:\windows"): %SystemRoot% and %windir%
  // name it, and the loader searches it for a component's DLLs.
  ImageRegistration(FileSystem& files, std::string windows_folder)
      : files_(files), windows_folder_(std::move(windows_folder)) {}

  Result<ComponentFacts> ReadFacts(const std::string& path) override;
  std::vector<std::string> MissingImports(const std::string& path) override;
  bool NamesFile(const std::string& registered, const std::string& path) override;

 protected:
  const std::string& WindowsFolder() const { return windows_folder_; }

 private:
  Result<ComponentImage> ReadImage(const std::string& path);
  // Whether a file named `name` lies in `folder`.
  bool InFolder(const std::string& folder, const std::string& name);

  FileSystem& files_;
  std::string windows_folder_;
};

// `text` with %SystemRoot%, %windir% and %SystemDrive% (in any letter case) put in from
// `windows_folder`; other variables are left as written.
std::string ExpandWindowsVariables(const std::string& text, const std::string& windows_folder);

}  // namespace platform
