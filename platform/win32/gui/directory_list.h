#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/win32/gui/native_control.h"

namespace platform::win32 {

// The directory list: a LISTBOX with the current folder's ancestors from the root down, the folder
// itself, then its sub-folders, each indented by its depth. Opening an entry (double-click or
// Enter) moves there; the highlight alone does not.
class NativeDirectoryList : public NativeControl<platform::DirectoryList> {
 public:
  // Starts on `initial_folder`; stays empty when that cannot be read.
  NativeDirectoryList(ControlHost& host, const platform::ControlSpec& design, int id, platform::FileSystem& files,
                      const std::string& initial_folder);

  std::string Path() const override { return path_; }
  platform::Status SetPath(const std::string& path) override;
  void Notify(WORD code) override;
  void EnterPressed() override;

 private:
  // The absolute folder that `path` names, without a trailing "\" below the root.
  std::string Resolve(const std::string& path);
  void Fill(const std::vector<std::string>& sub_folders);
  void OpenSelected();

  platform::FileSystem& files_;
  std::string path_;
  std::vector<std::string> entries_;  // the folder each row opens
};

}  // namespace platform::win32
