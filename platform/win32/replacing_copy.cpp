#include "platform/win32/replacing_copy.h"

#include <windows.h>

#include <atomic>
#include <vector>

#include "platform/win32/handle.h"
#include "platform/win32/system_error.h"

namespace platform::win32 {
namespace {

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

// What the system knows of the file or folder at `destination`; false when there is none.
bool ExistingInfo(const std::wstring& destination, BY_HANDLE_FILE_INFORMATION& info) {
  // Asking only for attributes is not stopped by the sharing mode of whoever else has it open.
  Handle existing(CreateFileW(destination.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return existing.valid() && GetFileInformationByHandle(existing.get(), &info);
}

// The folder of `path` with its trailing "\", from the full path; empty when `path` names no file.
std::wstring FolderOf(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  wchar_t* name = nullptr;
  DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &name);
  if (length >= full.size()) {
    full.resize(length);
    length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &name);
  }
  if (length == 0 || length >= full.size() || name == nullptr) return {};
  return full.substr(0, static_cast<std::size_t>(name - full.data()));
}

// Creates a file of a new name in `folder`, open for writing; its name goes to `name`.
Handle NewTemporaryFile(const std::wstring& folder, std::wstring& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + L"~ebrona-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L".tmp";
    Handle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid() || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return Handle();
}

// Fills `to` with the data of `from`; 0 or the error of the failing call.
DWORD CopyData(HANDLE from, HANDLE to) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return GetLastError();
    if (got == 0) return 0;
    DWORD written = 0;
    if (!WriteFile(to, buffer.data(), got, &written, nullptr)) return GetLastError();
    if (written != got) return ERROR_WRITE_FAULT;
  }
}

// Everything from the data to the rename; 0 or the error of the failing call.
DWORD FillAndRename(HANDLE from, const FILETIME& last_write, Handle& temporary, const std::wstring& temporary_name,
                    const std::wstring& destination) {
  if (const DWORD error = CopyData(from, temporary.get())) return error;
  if (!SetFileTime(temporary.get(), nullptr, nullptr, &last_write)) return GetLastError();
  if (!FlushFileBuffers(temporary.get())) return GetLastError();
  if (!temporary.Close()) return GetLastError();
  if (!MoveFileExW(temporary_name.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return GetLastError();
  }
  return 0;
}

}  // namespace

Status CopyFileReplacing(const std::wstring& source, const std::wstring& destination) {
  Handle from(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!from.valid()) return LastErrorFailure();
  BY_HANDLE_FILE_INFORMATION source_info;
  if (!GetFileInformationByHandle(from.get(), &source_info)) return LastErrorFailure();

  BY_HANDLE_FILE_INFORMATION existing;
  if (ExistingInfo(destination, existing)) {
    // Copying a file onto itself would only replace it by a copy of itself. Windows' own copy
    // fails here with a sharing violation, which blames another program; the system's "file
    // exists" text names the actual reason: the destination is there already, as the source.
    if (SameFile(existing, source_info)) return SystemFailure(ERROR_FILE_EXISTS);
    // Windows does not replace a read-only file, neither by copying nor by renaming; said here so
    // that every system that runs the program (Wine's rename would replace it) refuses alike.
    if (existing.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return SystemFailure(ERROR_ACCESS_DENIED);
  }

  const std::wstring folder = FolderOf(destination);
  if (folder.empty()) return SystemFailure(ERROR_DIRECTORY);
  std::wstring temporary_name;
  Handle temporary = NewTemporaryFile(folder, temporary_name);
  if (!temporary.valid()) return LastErrorFailure();

  const DWORD error = FillAndRename(from.get(), source_info.ftLastWriteTime, temporary, temporary_name, destination);
  if (error != 0) {
    temporary.Close();
    DeleteFileW(temporary_name.c_str());
    return SystemFailure(error);
  }
  return Status::Ok();
}

}  // namespace platform::win32
