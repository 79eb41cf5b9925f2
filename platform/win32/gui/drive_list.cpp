#include "platform/win32/gui/drive_list.h"

#include <algorithm>
#include <cctype>

#include "platform/win32/system_error.h"
#include "platform/win32/text_conversion.h"

namespace platform::win32 {

namespace {

// "c:" from "C:\", "c:" or "c:\kopior"; empty when `path` names no drive.
std::string DriveOf(const std::string& path) {
  if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0]))) return {};
  return std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])))) + ":";
}

// Rows the open drop-down shows before it scrolls.
constexpr int kVisibleRows = 8;

}  // namespace

NativeDriveList::NativeDriveList(ControlHost& host, const platform::ControlSpec& design, int id,
                                 std::vector<std::string> drives, const std::string& initial_drive)
    : NativeControl(host, design, id), drives_(std::move(drives)) {
  Create(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, L"");
  for (const std::string& drive : drives_) {
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(drive).c_str()));
  }
  auto initial = std::find(drives_.begin(), drives_.end(), DriveOf(initial_drive));
  if (initial == drives_.end()) initial = drives_.begin();
  if (initial != drives_.end()) {
    current_ = *initial;
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(initial - drives_.begin()), 0);
  }
}

platform::Status NativeDriveList::SetDrive(const std::string& path) {
  auto found = std::find(drives_.begin(), drives_.end(), DriveOf(path));
  if (found == drives_.end()) return platform::Status::Failure(SystemErrorText(ERROR_INVALID_DRIVE));
  const int index = static_cast<int>(found - drives_.begin());
  SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  MakeCurrent(index);
  return platform::Status::Ok();
}

void NativeDriveList::Notify(WORD code) {
  const int index = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
  switch (code) {
    case CBN_SELCHANGE:
      // While the list is open the user is only looking through it; the choice counts when it
      // closes with a selection (CBN_SELENDOK). Arrow keys on the closed list choose at once.
      if (!SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0)) MakeCurrent(index);
      break;
    case CBN_SELENDOK:
      MakeCurrent(index);
      break;
    case CBN_SELENDCANCEL: {
      auto current = std::find(drives_.begin(), drives_.end(), current_);
      if (current != drives_.end()) SendMessageW(Handle(), CB_SETCURSEL, current - drives_.begin(), 0);
      break;
    }
    default: break;
  }
}

void NativeDriveList::MakeCurrent(int index) {
  if (index < 0 || index >= static_cast<int>(drives_.size()) || drives_[index] == current_) return;
  current_ = drives_[index];
  if (!on_change_) return;
  std::function<void()> handler = on_change_;
  handler();
}

void NativeDriveList::Place(int left, int top, int width, int height) {
  // A combo box's window height includes its drop-down list; the designed height is the closed box.
  SetWindowPos(Handle(), nullptr, left, top, width, height * (kVisibleRows + 1), SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace platform::win32
