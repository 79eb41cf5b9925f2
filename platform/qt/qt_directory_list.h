#pragma once

#include <string>

#include "platform/qt/qt_control.h"

class QTreeWidgetItem;

namespace platform::qt {

class FolderTree;

// A folder's ancestors from the drive's root down, each one indented under the one before, the
// folder itself shown open and highlighted, then its sub-folders under it.
class QtDirectoryList : public QtControl<DirectoryList> {
 public:
  // Starts on the current folder of `start_drive`.
  QtDirectoryList(QWidget& parent, const ControlSpec& design, FileSystem& files, const std::string& start_drive);
  ~QtDirectoryList() override;

  std::string Path() const override { return path_; }
  Status SetPath(const std::string& path) override;

 private:
  // Reads the sub-folders of `folder` and shows it; on failure the list stays as it was.
  Status Open(const std::string& folder);
  void Opened(const QTreeWidgetItem& item);

  FolderTree& tree_;
  FileSystem& files_;
  std::string path_;
  QTreeWidgetItem* current_ = nullptr;  // the entry of path_
};

}  // namespace platform::qt
