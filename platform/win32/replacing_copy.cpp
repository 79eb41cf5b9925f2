#include "platform/win32/replacing_copy.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <functional>
#include <vector>

#include "platform/in_use_replacement.h"
#include "platform/win32/file_holders.h"
#include "platform/win32/file_identity.h"
#include "platform/win32/handle.h"
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

// The temporary file of a copy to `name` is "~<name>.ebrona-<process>-<number>.tmp".
std::wstring TemporaryPrefix(const std::wstring& name) { return L"~" + name + L".ebrona-"; }
constexpr const wchar_t* kTemporaryEnd = L".tmp";

bool IsNumber(const std::wstring& text) {
  return !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

// Whether `entry` is a temporary file name of a copy to the name `prefix` was made from; the name
// part is compared without regard to letter case, as Windows compares names.
bool IsTemporaryOf(const std::wstring& entry, const std::wstring& prefix) {
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

// Deletes the temporary files of copies to `name` in `folder` that an interrupted run left behind,
// and the old files that copies renamed aside. A copy under way holds its temporary file open
// without sharing, and a running program its old file, so those cannot be deleted and stay.
// Failures change nothing and are not the copy's concern.
void RemoveLeftovers(const std::wstring& folder, const std::wstring& name) {
  const std::wstring prefix = TemporaryPrefix(name);
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileExW((folder + prefix + L"*" + kTemporaryEnd).c_str(), FindExInfoBasic, &entry,
                                         FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    // The pattern also matches short names and looser forms; the whole long name must fit.
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTemporaryOf(entry.cFileName, prefix)) {
      DeleteFileW((folder + entry.cFileName).c_str());
    }
  } while (FindNextFileW(search, &entry));
  FindClose(search);
}

// A temporary file name in `folder` for a copy to `name` that this process has not used before.
std::wstring NewTemporaryName(const std::wstring& folder, const std::wstring& name) {
  static std::atomic<unsigned> counter{0};
  return folder + TemporaryPrefix(name) + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) +
         kTemporaryEnd;
}

// Creates a file of a new name in `folder` for a copy to `name`, open for writing; its path goes
// to `path`.
Handle NewTemporaryFile(const std::wstring& folder, const std::wstring& name, std::wstring& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = NewTemporaryName(folder, name);
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
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
// temporary file name, so that the clean-up of leftovers deletes it once nobody holds it any more.
class SystemInUseSteps : public InUseSteps {
 public:
  Result<std::string> RenameAside(const std::string& path) override {
    const std::wstring wide = WideFromUtf8(path);
    std::wstring name;
    const std::wstring folder = FolderOf(wide, name);
    if (folder.empty()) return SystemFailure(ERROR_DIRECTORY);
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::wstring aside = NewTemporaryName(folder, name);
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
  // Written to PendingFileRenameOperations, which needs administrator rights.
  Status DeleteAtRestart(const std::string& path) override {
    if (!MoveFileExW(WideFromUtf8(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return LastErrorFailure();
    return Status::Ok();
  }
  std::vector<FileHolder> Holders(const std::string& path) override {
    std::wstring name;
    const std::wstring folder = FolderOf(WideFromUtf8(path), name);
    return folder.empty() ? std::vector<FileHolder>{} : FileHolders(folder + name);
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

// Gives `destination` its new content through a temporary file in its folder: the leftovers of
// interrupted earlier attempts go first, `fill` writes the temporary file (0 or an error), which is
// then flushed, closed and renamed over the destination. On failure the temporary file is deleted.
// With `replaced_in_use` given, a destination that a running program holds is replaced around it,
// and `*replaced_in_use` tells whether that happened.
Status ReplaceThroughTemporary(const std::wstring& destination, const std::function<DWORD(HANDLE)>& fill,
                               bool* replaced_in_use) {
  std::wstring name;
  const std::wstring folder = FolderOf(destination, name);
  if (folder.empty()) return SystemFailure(ERROR_DIRECTORY);
  RemoveLeftovers(folder, name);
  std::wstring temporary_name;
  Handle temporary = NewTemporaryFile(folder, name, temporary_name);
  if (!temporary.valid()) return LastErrorFailure();

  DWORD error = fill(temporary.get());
  if (error == 0 && !FlushFileBuffers(temporary.get())) error = GetLastError();
  if (error == 0 && !temporary.Close()) error = GetLastError();
  if (error == 0 && !MoveFileExW(temporary_name.c_str(), destination.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
    if (replaced_in_use && IsHeldFile(destination, error)) {
      SystemInUseSteps steps;
      const Status replaced = ReplaceFileInUse(steps, Utf8FromWide(temporary_name), Utf8FromWide(destination));
      *replaced_in_use = replaced.ok();
      if (!replaced.ok()) DeleteFileW(temporary_name.c_str());
      return replaced;
    }
  }
  if (error != 0) {
    temporary.Close();
    DeleteFileW(temporary_name.c_str());
    return SystemFailure(error);
  }
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
  return ReplaceThroughTemporary(path, [&](HANDLE to) {
    for (std::size_t done = 0; done < bytes.size(); done += 1 << 20) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
      if (const DWORD error = WriteAll(to, bytes.data() + done, chunk)) return error;
    }
    return DWORD{0};
  }, nullptr);
}

void RemoveLeftoversOf(const std::wstring& path) {
  std::wstring name;
  const std::wstring folder = FolderOf(path, name);
  if (!folder.empty()) RemoveLeftovers(folder, name);
}

}  // namespace platform::win32
