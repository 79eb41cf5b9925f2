#include "platform/win32/file_write.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/handle.h"
#include "platform/win32/system_error.h"

namespace platform::win32 {
namespace {

// Everything from the data to the rename; 0 or the error of the failing call.
DWORD FillAndRename(Handle& temporary, const std::string& bytes, const std::wstring& temporary_name,
                    const std::wstring& path) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    DWORD written = 0;
    if (!::WriteFile(temporary.get(), bytes.data() + done, chunk, &written, nullptr)) return GetLastError();
    if (written != chunk) return ERROR_WRITE_FAULT;
    done += written;
  }
  if (!FlushFileBuffers(temporary.get())) return GetLastError();
  if (!temporary.Close()) return GetLastError();
  if (!MoveFileExW(temporary_name.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return GetLastError();
  }
  return 0;
}

// Creates a new file named after `path` in its folder, open for writing; its name goes to `name`.
Handle NewTemporaryFile(const std::wstring& path, std::wstring& name) {
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    name = path + L".ebrona-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt);
    Handle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid() || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return Handle();
}

}  // namespace

Status WriteFileReplacing(const std::wstring& path, const std::string& bytes) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return SystemFailure(ERROR_ACCESS_DENIED);
  }
  std::wstring temporary_name;
  Handle temporary = NewTemporaryFile(path, temporary_name);
  if (!temporary.valid()) return LastErrorFailure();

  const DWORD error = FillAndRename(temporary, bytes, temporary_name, path);
  if (error != 0) {
    temporary.Close();
    DeleteFileW(temporary_name.c_str());
    return SystemFailure(error);
  }
  return Status::Ok();
}

}  // namespace platform::win32
