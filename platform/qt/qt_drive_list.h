#pragma once

#include <functional>
#include <string>

#include "platform/qt/qt_control.h"

class QComboBox;

namespace platform::qt {

// The drive the process works on, where the drive and directory lists start. The file system tells
// a drive's current folder, which is the process's current folder on the drive that holds it and
// the root on every other drive; so it is the first drive whose current folder is not its root.
// When the process stands at a root, or on no drive at all, the lists start on "c:" (or the first
// drive, when there is no c:).
std::string StartDrive(FileSystem& files);

// The drives of the file system in a drop-down list, shown as "c:".
class QtDriveList : public QtControl<DriveList> {
 public:
  QtDriveList(QWidget& parent, const ControlSpec& design, FileSystem& files, const std::string& start_drive);

  std::string Drive() const override { return drive_; }
  Status SetDrive(const std::string& path) override;
  void OnChange(std::function<void()> handler) override { on_change_ = std::move(handler); }

 private:
  // The list's current entry changed, by the user or by SetDrive.
  void Changed(int index);

  QComboBox& combo_;
  std::string drive_;
  std::function<void()> on_change_;
};

}  // namespace platform::qt
