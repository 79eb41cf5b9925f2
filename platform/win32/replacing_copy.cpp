#include "platform/win32/replacing_copy.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cwchar>
#include <functional>
#include <vector>

#include "platform/in_use_replacement.h"
#include "platform/win32/file_holders.h"
#include "platform/win32/file_identity.h"
#include "platform/win32/handle.h"
#include "platform/win32/restart_deletions.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text_conversion.h"

namespace platform::win32 {
namespace {

// The folder of `path` with its trailing "\", from the full path; empty when `path` names no file.
// The file's own name goes to `name`.
std::wstring FolderOf(const std::wstring& path, std::wstring& name) {
  std::wstring full(MAX_PATH, L'\0');
  wchar_t* name_start = nullptr;
  DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &name_start);
  if (length >= full.size()) {
    full.resize(length);
    length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &name_start);
  }
  if (length == 0 || length >= full.size() || name_start == nullptr) return {};
  const std::size_t folder_length = static_cast<std::size_t>(name_start - full.data());
  name = full.substr(folder_length, length - folder_length);
  return full.substr(0, folder_length);
}

// What copies to `name` make in its folder: the temporary file "~<name>.ebrona-<process>-<number>.tmp"
// and the old file renamed aside "~<name>.ebrona-old-<process>-<number>.tmp". The two names differ,
// so that an old file is never taken for an unfinished copy.
enum class Kind { kTemporary, kSetAside };
std::wstring Prefix(const std::wstring& name, Kind kind) {
  return L"~" + name + (kind == Kind::kSetAside ? L".ebrona-old-" : L".ebrona-");
}
constexpr const wchar_t* kTemporaryEnd = L".tmp";

bool IsNumber(const std::wstring& text) {
  return !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

// Whether `entry` is a name of that `kind` for the name `prefix` was made from; the name part is
// compared without regard to letter case, as Windows compares names.
bool IsLeftoverOf(const std::wstring& entry, const std::wstring& prefix) {
  const std::size_t end_length = std::wcslen(kTemporaryEnd);
  if (entry.size() <= prefix.size() + end_length) return false;
  if (CompareStringOrdinal(entry.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                           static_cast<int>(prefix.size()), TRUE) != CSTR_EQUAL) {
    return false;
  }
  if (entry.compare(entry.size() - end_length, end_length, kTemporaryEnd) != 0) return false;
  const std::wstring numbers = entry.substr(prefix.size(), entry.size() - prefix.size() - end_length);
  const std::size_t dash = numbers.find(L'-');
  return dash != std::wstring::npos && IsNumber(numbers.substr(0, dash)) && IsNumber(numbers.substr(dash + 1));
}

// The files of that `kind` that copies to `name` left in `folder`, newest last.
std::vector<WIN32_FIND_DATAW> Leftovers(const std::wstring& folder, const std::wstring& name, Kind kind) {
  const std::wstring prefix = Prefix(name, kind);
  std::vector<WIN32_FIND_DATAW> found;
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileExW((folder + prefix + L"*" + kTemporaryEnd).c_str(), FindExInfoBasic, &entry,
                                         FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    // The pattern also matches short names and looser forms; the whole long name must fit.
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsLeftoverOf(entry.cFileName, prefix)) {
      found.push_back(entry);
    }
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  std::sort(found.begin(), found.end(), [](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
    return CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) < 0;
  });
  return found;
}

// Deletes the temporary files of copies to `name` in `folder` that an interrupted run left behind.
// A copy under way holds its temporary file open without sharing, so that one cannot be deleted
// and stays. Failures change nothing and are not the copy's concern.
void RemoveTemporaries(const std::wstring& folder, const std::wstring& name) {
  for (const WIN32_FIND_DATAW& entry : Leftovers(folder, name, Kind::kTemporary)) {
    DeleteFileW((folder + entry.cFileName).c_str());
  }
}

// Puts back, then deletes, what copies to `name` left in `folder` (see FileSystem::RecoverLeftovers).
// An old file that a running program still holds cannot be deleted and stays, with its restart entry.
void RecoverLeftovers(const std::wstring& folder, const std::wstring& name) {
  std::vector<WIN32_FIND_DATAW> set_aside = Leftovers(folder, name, Kind::kSetAside);
  std::vector<std::wstring> deleted;
  const std::wstring path = folder + name;
  if (!set_aside.empty() && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
      GetLastError() == ERROR_FILE_NOT_FOUND) {
    // The newest old file is the one that had the name last. Its restart entry, if any, would now
    // find nothing to delete.
    const std::wstring newest = FinalPath(folder + set_aside.back().cFileName);
    if (MoveFileExW(newest.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
      deleted.push_back(newest);
      set_aside.pop_back();
    }
  }
  RemoveTemporaries(folder, name);
  for (const WIN32_FIND_DATAW& entry : set_aside) {
    const std::wstring old = FinalPath(folder + entry.cFileName);
    if (DeleteFileW(old.c_str())) deleted.push_back(old);
  }
  ForgetDeletionsAtRestart(deleted);
}

// A name in `folder` of that `kind` for a copy to `name`, that this process has not used before.
std::wstring NewName(const std::wstring& folder, const std::wstring& name, Kind kind) {
  static std::atomic<unsigned> counter{0};
  return folder + Prefix(name, kind) + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) +
         kTemporaryEnd;
}

// Creates a file of a new name in `folder` for a copy to `name`, open for writing and renaming, and
// for nobody else; its path goes to `path`.
Handle NewTemporaryFile(const std::wstring& folder, const std::wstring& name, std::wstring& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = NewName(folder, name, Kind::kTemporary);
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid() || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return Handle();
}

// Writes `size` bytes to `to`; 0 or the error of the failing call.
DWORD WriteAll(HANDLE to, const char* data, DWORD size) {
  DWORD written = 0;
  if (!WriteFile(to, data, size, &written, nullptr)) return GetLastError();
  return written == size ? 0 : ERROR_WRITE_FAULT;
}

// Fills `to` with the data of `from`; 0 or the error of the failing call.
DWORD CopyData(HANDLE from, HANDLE to) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return GetLastError();
    if (got == 0) return 0;
    if (const DWORD error = WriteAll(to, buffer.data(), got)) return error;
  }
}

// The steps of replacing a file in use, on the system's files. The old file is renamed aside to a
// name of its own family, so that a later run's clean-up puts it back or deletes it. What is handed
// to the system (the restart's deletion, Restart Manager) names the file by its final path, which
// a 32-bit program's redirection does not change.
class SystemInUseSteps : public InUseSteps {
 public:
  Result<std::string> RenameAside(const std::string& path) override {
    const std::wstring wide = WideFromUtf8(path);
    std::wstring name;
    const std::wstring folder = FolderOf(wide, name);
    if (folder.empty()) return SystemFailure(ERROR_DIRECTORY);
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::wstring aside = NewName(folder, name, Kind::kSetAside);
      if (MoveFileExW(wide.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) return Utf8FromWide(aside);
      const DWORD error = GetLastError();
      if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return SystemFailure(error);
    }
    return SystemFailure(ERROR_FILE_EXISTS);
  }
  Status Rename(const std::string& from, const std::string& to) override {
    if (!MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
      return LastErrorFailure();
    }
    return Status::Ok();
  }
  Status DeleteAtRestart(const std::string& path) override { return win32::DeleteAtRestart(WideFromUtf8(path)); }
  std::vector<FileHolder> Holders(const std::string& path) override {
    return FileHolders(FinalPath(WideFromUtf8(path)));
  }
};

// Whether renaming over `destination` failed with `error` because a running program holds it: it
// has loaded it as a DLL or opened it without delete sharing. A folder or a read-only file gives
// the same errors, and is not replaced around.
bool IsHeldFile(const std::wstring& destination, DWORD error) {
  if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
  const DWORD attributes = GetFileAttributesW(destination.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}

// The native spelling of the full path `path`, which renaming by a handle needs: "\??\C:\...",
// "\??\UNC\server\share\...".
std::wstring NativePath(const std::wstring& path) {
  if (path.starts_with(L"\\\\?\\")) return L"\\??\\" + path.substr(4);
  if (path.starts_with(L"\\\\")) return L"\\??\\UNC\\" + path.substr(2);
  return L"\\??\\" + path;
}

// Gives the open file `file`, which was opened with DELETE access, the full path `full_path`,
// replacing a file there; 0 or the error. Renaming by the handle keeps the file open and unshared
// throughout, so that no other writer's clean-up can take it for a leftover.
DWORD RenameOpenFile(HANDLE file, const std::wstring& full_path) {
  const std::wstring destination = NativePath(full_path);
  const std::size_t size = sizeof(FILE_RENAME_INFO) + destination.size() * sizeof(wchar_t);
  std::vector<std::byte> buffer(size);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(destination.size() * sizeof(wchar_t));
  std::copy(destination.begin(), destination.end(), info->FileName);
  if (!SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(size))) return GetLastError();
  // Written through where the disk allows, as MOVEFILE_WRITE_THROUGH would. The rename has been
  // made, so a failure here is no failure of it.
  FlushFileBuffers(file);
  return 0;
}

// How often, and how far apart, a rename over a destination that another program holds is tried
// again before the copy takes it for held by a running program: virus scanners, indexers and a
// waiting run's log check open files for moments only.
constexpr int kHeldRetries = 5;
constexpr DWORD kHeldRetryPause = 200;  // milliseconds, about a second in all

// Gives `destination` its new content through a temporary file in its folder: `fill` writes the
// temporary file (0 or an error), which is then flushed and, still open, renamed over the
// destination, and closed. On failure the temporary file is deleted. With `replaced_in_use` given,
// a destination that a running program keeps holding is replaced around it, and
// `*replaced_in_use` tells whether that happened.
Status ReplaceThroughTemporary(const std::wstring& destination, const std::function<DWORD(HANDLE)>& fill,
                               bool* replaced_in_use) {
  std::wstring name;
  const std::wstring folder = FolderOf(destination, name);
  if (folder.empty()) return SystemFailure(ERROR_DIRECTORY);
  std::wstring temporary_name;
  Handle temporary = NewTemporaryFile(folder, name, temporary_name);
  if (!temporary.valid()) return LastErrorFailure();

  const std::wstring full_destination = folder + name;
  DWORD error = fill(temporary.get());
  if (error == 0 && !FlushFileBuffers(temporary.get())) error = GetLastError();
  if (error == 0) error = RenameOpenFile(temporary.get(), full_destination);
  for (int retry = 0; retry < kHeldRetries && IsHeldFile(full_destination, error); ++retry) {
    Sleep(kHeldRetryPause);
    error = RenameOpenFile(temporary.get(), full_destination);
  }
  if (replaced_in_use && IsHeldFile(full_destination, error)) {
    // The steps rename by name, which the open, unshared file would refuse.
    temporary.Close();
    SystemInUseSteps steps;
    const Status replaced = ReplaceFileInUse(steps, Utf8FromWide(temporary_name), Utf8FromWide(full_destination));
    *replaced_in_use = replaced.ok();
    if (!replaced.ok()) DeleteFileW(temporary_name.c_str());
    return replaced;
  }
  if (error != 0) {
    temporary.Close();
    DeleteFileW(temporary_name.c_str());
    return SystemFailure(error);
  }
  // The file has its name and its data on the disk; closing it cannot change that.
  temporary.Close();
  return Status::Ok();
}

}  // namespace

Status CopyFileReplacing(const std::wstring& source, const std::wstring& destination, bool* replaced_in_use) {
  // A held destination is replaced around its holder also when the caller does not ask about it.
  bool not_asked = false;
  bool& in_use = replaced_in_use ? *replaced_in_use : not_asked;
  in_use = false;
  Handle from(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!from.valid()) return LastErrorFailure();
  BY_HANDLE_FILE_INFORMATION source_info;
  if (!GetFileInformationByHandle(from.get(), &source_info)) return LastErrorFailure();

  if (const auto existing = FileInformation(destination)) {
    // Copying a file onto itself would only replace it by a copy of itself. Windows' own copy
    // fails here with a sharing violation, which blames another program; the system's "file
    // exists" text names the actual reason: the destination is there already, as the source.
    if (SameFile(*existing, source_info)) return SystemFailure(ERROR_FILE_EXISTS);
    // Windows does not replace a read-only file, neither by copying nor by renaming; said here so
    // that every system that runs the program (Wine's rename would replace it) refuses alike.
    if (existing->dwFileAttributes & FILE_ATTRIBUTE_READONLY) return SystemFailure(ERROR_ACCESS_DENIED);
  }
  return ReplaceThroughTemporary(
      destination,
      [&](HANDLE to) {
        if (const DWORD error = CopyData(from.get(), to)) return error;
        return SetFileTime(to, nullptr, nullptr, &source_info.ftLastWriteTime) ? DWORD{0} : GetLastError();
      },
      &in_use);
}

Status WriteFileReplacing(const std::wstring& path, const std::string& bytes) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return SystemFailure(ERROR_ACCESS_DENIED);
  }
  // A log has no old files renamed aside: only what a killed write of it left goes here.
  std::wstring name;
  const std::wstring folder = FolderOf(path, name);
  if (!folder.empty()) RemoveTemporaries(folder, name);
  return ReplaceThroughTemporary(path, [&](HANDLE to) {
    for (std::size_t done = 0; done < bytes.size(); done += 1 << 20) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
      if (const DWORD error = WriteAll(to, bytes.data() + done, chunk)) return error;
    }
    return DWORD{0};
  }, nullptr);
}

void RecoverLeftoversOf(const std::wstring& path) {
  std::wstring name;
  const std::wstring folder = FolderOf(path, name);
  if (!folder.empty()) RecoverLeftovers(folder, name);
}

}  // namespace platform::win32
