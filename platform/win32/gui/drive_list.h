#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/gui/native_control.h"

namespace platform::win32 {

// The drive list: a drop-down COMBOBOX of the file system's drives.
class NativeDriveList : public NativeControl<platform::DriveList> {
 public:
  // Starts on `initial_drive` ("c:"), without raising the change handler.
  NativeDriveList(ControlHost& host, const platform::ControlSpec& design, int id, std::vector<std::string> drives,
                  const std::string& initial_drive);

  std::string Drive() const override { return current_; }
  platform::Status SetDrive(const std::string& path) override;
  void OnChange(std::function<void()> handler) override { on_change_ = std::move(handler); }
  void Notify(WORD code) override;

 private:
  void Place(int left, int top, int width, int height) override;
  // Makes the drive at `index` current and raises the change handler when that is a change.
  void MakeCurrent(int index);

  std::vector<std::string> drives_;
  std::string current_;
  std::function<void()> on_change_;
};

}  // namespace platform::win32
