#include "platform/win32/win32_installation_lock.h"

#include <sddl.h>

#include <algorithm>

#include "platform/win32/system_error.h"
#include "platform/win32/system_library.h"
#include "platform/win32/text_conversion.h"

namespace platform::win32 {
namespace {

// How often a run that waits tries the lock again.
constexpr std::chrono::milliseconds kRetry{100};

// Full access for SYSTEM and the Administrators group, nothing for anybody else, and nothing
// inherited from the folder: an account that cannot open the file cannot lock it either.
constexpr wchar_t kAdministratorsOnly[] = L"D:P(A;;FA;;;SY)(A;;FA;;;BA)";

// The folder of Windows itself, shared by every session (GetWindowsDirectoryW may name a folder of
// the user's own on a terminal server) and not redirected for 32-bit programs.
std::wstring DefaultLockPath() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring path(folder, length);
  if (path.back() != L'\\') path += L'\\';
  return path + L"ebrona-installer.lock";
}

// Opens the lock file, made with kAdministratorsOnly when it is missing; never inherited by the
// programs that the run starts. advapi32, which reads the security, is loaded by its full path
// when first needed, as the program's other system DLLs beyond its few imports are.
Result<HANDLE> OpenLockFile(const std::wstring& path) {
  const HMODULE advapi32 = LoadSystemLibrary(L"advapi32.dll");
  if (advapi32 == nullptr) return LastErrorFailure();
  const auto convert = LibraryFunction<decltype(&ConvertStringSecurityDescriptorToSecurityDescriptorW)>(
      advapi32, "ConvertStringSecurityDescriptorToSecurityDescriptorW");
  PSECURITY_DESCRIPTOR security = nullptr;
  const bool converted = convert != nullptr && convert(kAdministratorsOnly, SDDL_REVISION_1, &security, nullptr);
  const DWORD convert_error = GetLastError();
  FreeLibrary(advapi32);
  if (!converted) return SystemFailure(convert_error);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, security, FALSE};
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &attributes, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD error = GetLastError();
  LocalFree(security);
  if (file == INVALID_HANDLE_VALUE) return Status::Failure(Utf8FromWide(path) + ": " + SystemErrorText(error));
  return file;
}

}  // namespace

Result<bool> Win32InstallationLock::Take(std::chrono::milliseconds limit) {
  Release();
  const std::wstring path = path_.empty() ? DefaultLockPath() : path_;
  if (path.empty()) return LastErrorFailure();
  Result<HANDLE> opened = OpenLockFile(path);
  if (!opened.ok()) return opened.status();
  Handle file(opened.value());
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    // The first byte, locked also while the file is empty: every run locks the same range.
    OVERLAPPED first_byte{};
    if (LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &first_byte)) {
      file_.emplace(std::move(file));
      return true;
    }
    if (GetLastError() != ERROR_LOCK_VIOLATION) return LastErrorFailure();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left <= left.zero()) return false;
    Sleep(static_cast<DWORD>(std::min(left, kRetry).count()));
  }
}

void Win32InstallationLock::Release() {
  if (!file_) return;
  // Unlocked at once: after a plain close the system may take a moment to let go of the range.
  OVERLAPPED first_byte{};
  UnlockFileEx(file_->get(), 0, 1, 0, &first_byte);
  file_.reset();
}

}  // namespace platform::win32
