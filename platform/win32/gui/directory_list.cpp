#include "platform/win32/gui/directory_list.h"

#include <algorithm>
#include <cctype>

#include "platform/win32/text_conversion.h"

namespace platform::win32 {

namespace {

// Indentation of one level in the list.
constexpr const wchar_t* kIndent = L"   ";

std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool StartsWithDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

}  // namespace

NativeDirectoryList::NativeDirectoryList(ControlHost& host, const platform::ControlSpec& design, int id,
                                         platform::FileSystem& files, const std::string& initial_folder)
    : NativeControl(host, design, id), files_(files) {
  Create(L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, L"");
  if (!initial_folder.empty()) SetPath(initial_folder);
}

std::string NativeDirectoryList::Resolve(const std::string& path) {
  std::string drive;
  std::string folder;
  if (StartsWithDrive(path)) {
    drive = path.substr(0, 2);
    const std::string rest = path.substr(2);
    if (rest.empty()) return {};  // a bare drive: its current folder, asked of the file system
    // "d:kopior" is relative to the drive's current folder, "d:\kopior" to its root.
    folder = rest[0] == '\\' || rest[0] == '/' ? drive + "\\" : "";
    if (folder.empty()) {
      platform::Result<std::string> current = files_.DriveCurrentFolder(drive);
      folder = current.ok() ? current.value() : drive + "\\";
    }
    folder = Join(folder, rest);
  } else if (!path.empty() && (path[0] == '\\' || path[0] == '/')) {
    drive = path_.substr(0, 2);
    folder = drive + path;
  } else {
    folder = Join(path_.empty() ? "c:\\" : path_, path);
    drive = folder.substr(0, 2);
  }
  std::vector<std::string> kept;
  for (const std::string& part : Split(folder.substr(2))) {
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();
    } else if (part != ".") {
      kept.push_back(part);
    }
  }
  std::string resolved = drive;
  for (const std::string& part : kept) resolved += "\\" + part;
  return kept.empty() ? resolved + "\\" : resolved;
}

platform::Status NativeDirectoryList::SetPath(const std::string& path) {
  std::string folder;
  if (path.size() == 2 && StartsWithDrive(path)) {
    platform::Result<std::string> current = files_.DriveCurrentFolder(path);
    if (!current.ok()) return current.status();
    folder = current.value();
  } else {
    folder = Resolve(path);
  }
  platform::Result<std::vector<std::string>> sub_folders = files_.SubFolders(folder);
  if (!sub_folders.ok()) return sub_folders.status();
  path_ = folder;
  Fill(sub_folders.value());
  return platform::Status::Ok();
}

void NativeDirectoryList::Fill(const std::vector<std::string>& sub_folders) {
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
  entries_.clear();
  auto add = [this](std::size_t depth, const std::string& name, const std::string& folder) {
    std::wstring row;
    for (std::size_t level = 0; level < depth; ++level) row += kIndent;
    row += WideFromUtf8(name);
    SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    entries_.push_back(folder);
  };

  std::string folder = path_.substr(0, 2) + "\\";
  add(0, folder, folder);
  const std::vector<std::string> parts = Split(path_.substr(2));
  for (std::size_t level = 0; level < parts.size(); ++level) {
    folder = Join(folder, parts[level]);
    add(level + 1, parts[level], folder);
  }
  const std::size_t current_row = entries_.size() - 1;
  for (const std::string& name : sub_folders) add(parts.size() + 1, name, Join(path_, name));

  SendMessageW(Handle(), LB_SETCURSEL, current_row, 0);
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void NativeDirectoryList::Notify(WORD code) {
  if (code == LBN_DBLCLK) OpenSelected();
}

void NativeDirectoryList::EnterPressed() { OpenSelected(); }

void NativeDirectoryList::OpenSelected() {
  const LRESULT row = SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
  if (row == LB_ERR || static_cast<std::size_t>(row) >= entries_.size()) return;
  // A folder that cannot be read stays closed; the list keeps showing where it was.
  if (!SetPath(entries_[static_cast<std::size_t>(row)]).ok()) MessageBeep(MB_ICONWARNING);
}

}  // namespace platform::win32
