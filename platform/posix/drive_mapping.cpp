#include "platform/posix/drive_mapping.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "platform/posix/error_text.h"
#include "platform/posix/folder_handle.h"
#include "platform/posix/name_case.h"

namespace platform::posix {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char LowerLetter(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool HasDrive(const std::string& path) { return path.size() >= 2 && IsLetter(path[0]) && path[1] == ':'; }

std::optional<std::string> RealPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  return std::string(resolved.get());
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Whether `path` is `folder` or lies below it.
bool Holds(const std::string& folder, const std::string& path) {
  if (folder == "/") return !path.empty() && path[0] == '/';
  return path.compare(0, folder.size(), folder) == 0 && (path.size() == folder.size() || path[folder.size()] == '/');
}

// The name in `folder` that `name` stands for: `name` itself when it exists, else the first entry
// (in byte order) equal to it without regard to case, else `name` as written.
std::string MatchName(const std::string& folder, const std::string& name) {
  struct stat info;
  if (lstat(Join(folder, name).c_str(), &info) == 0) return name;
  FolderHandle dir = OpenFolder(folder);
  if (!dir) return name;
  const std::string wanted = FoldNameCase(name);
  std::optional<std::string> found;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string candidate = entry->d_name;
    if (FoldNameCase(candidate) == wanted && (!found || candidate < *found)) found = candidate;
  }
  return found.value_or(name);
}

// The components of `text` separated by "\" or "/", empty ones dropped.
std::vector<std::string> Components(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  for (const char c : text) {
    if (IsSeparator(c)) {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

}  // namespace

DriveMapping DriveMapping::FromEnvironment() {
  const char* wine_prefix = std::getenv("WINEPREFIX");
  if (wine_prefix && *wine_prefix) return DriveMapping(wine_prefix);
  const char* home = std::getenv("HOME");
  return DriveMapping(home && *home ? Join(home, ".wine") : std::string());
}

DriveMapping::DriveMapping(std::string prefix) : prefix_(std::move(prefix)) {
  const std::string devices = prefix_.empty() ? std::string() : Join(prefix_, "dosdevices");
  FolderHandle dir = devices.empty() ? nullptr : OpenFolder(devices);
  if (!dir) {
    folders_['c'] = "/";
    return;
  }
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name.size() != 2 || !HasDrive(name)) continue;
    const std::optional<std::string> folder = RealPath(Join(devices, name));
    struct stat info;
    if (!folder || stat(folder->c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) continue;
    // "d:" and "D:" name one drive; the lower-case entry wins, as Wine looks that one up first.
    const char letter = LowerLetter(name[0]);
    if (name[0] == letter || !folders_.count(letter)) folders_[letter] = *folder;
  }
}

std::vector<std::string> DriveMapping::Drives() const {
  std::vector<std::string> drives;
  for (const auto& [letter, folder] : folders_) drives.push_back(std::string(1, letter) + ":");
  return drives;
}

const std::string* DriveMapping::DriveFolder(char letter) const {
  const auto found = folders_.find(LowerLetter(letter));
  return found == folders_.end() ? nullptr : &found->second;
}

std::optional<char> DriveMapping::DriveHolding(const std::string& host_path) const {
  std::optional<char> best;
  std::size_t best_length = 0;
  for (const auto& [letter, folder] : folders_) {
    if (Holds(folder, host_path) && (!best || folder.size() > best_length)) {
      best = letter;
      best_length = folder.size();
    }
  }
  return best;
}

Result<std::string> DriveMapping::ProcessFolder() {
  std::unique_ptr<char, decltype(&std::free)> folder(getcwd(nullptr, 0), &std::free);
  if (!folder) return ErrorFailure(errno);
  return std::string(folder.get());
}

Result<std::string> DriveMapping::CurrentFolderOf(char letter) const {
  const std::string* root = DriveFolder(letter);
  if (!root) return ErrorFailure(ENOENT);
  const Result<std::string> process_folder = ProcessFolder();
  if (process_folder.ok() && DriveHolding(process_folder.value()) == LowerLetter(letter)) return process_folder;
  return *root;
}

Result<std::string> DriveMapping::ToHost(const std::string& windows_path) const {
  if (windows_path.empty()) return ErrorFailure(ENOENT);
  std::string base;  // where the components start
  std::string floor;  // what ".." does not climb above
  std::string rest;
  if (HasDrive(windows_path)) {
    const std::string* root = DriveFolder(windows_path[0]);
    if (!root) return ErrorFailure(ENOENT);
    floor = *root;
    if (windows_path.size() > 2 && IsSeparator(windows_path[2])) {
      base = *root;
    } else {
      const Result<std::string> current = CurrentFolderOf(windows_path[0]);
      if (!current.ok()) return current;
      base = current.value();
    }
    rest = windows_path.substr(2);
  } else {
    const Result<std::string> process_folder = ProcessFolder();
    if (!process_folder.ok()) return process_folder;
    if (IsSeparator(windows_path[0])) {
      const std::optional<char> drive = DriveHolding(process_folder.value());
      if (!drive) return ErrorFailure(ENOENT);
      base = *DriveFolder(*drive);
      floor = base;
    } else {
      base = process_folder.value();
      floor = "/";
    }
    rest = windows_path;
  }

  std::string host = base;
  for (const std::string& part : Components(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      if (host.size() > floor.size()) host.erase(std::max<std::size_t>(host.rfind('/'), 1));
      continue;
    }
    host = Join(host, MatchName(host, part));
  }
  return host;
}

std::optional<std::string> DriveMapping::ToWindows(const std::string& host_folder) const {
  std::string path = RealPath(host_folder).value_or(host_folder);
  if (path.empty() || path[0] != '/') return std::nullopt;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::optional<char> drive = DriveHolding(path);
  if (!drive) return std::nullopt;
  const std::string& root = *DriveFolder(*drive);
  std::string windows = std::string(1, *drive) + ":\\";
  const std::string below = root == "/" ? path.substr(1) : path.substr(root.size());
  bool first = true;
  for (const std::string& part : Components(below)) {
    if (!first) windows += '\\';
    windows += part;
    first = false;
  }
  return windows;
}

}  // namespace platform::posix
