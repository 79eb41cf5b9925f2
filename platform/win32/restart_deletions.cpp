#include "platform/win32/restart_deletions.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/handle.h"
#include "platform/win32/registry_functions.h"
#include "platform/win32/system_error.h"

namespace platform::win32 {
namespace {

constexpr const wchar_t* kSessionManager = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const wchar_t* kPending = L"PendingFileRenameOperations";

// `path` without the "\\?\" or "\??\" that long and native path names begin with.
std::wstring WithoutPrefix(const std::wstring& path) {
  const bool prefixed = path.size() > 4 && path[0] == L'\\' && (path[1] == L'\\' || path[1] == L'?') &&
                        path[2] == L'?' && path[3] == L'\\';
  if (!prefixed) return path;
  // "\\?\UNC\server\share" is "\\server\share".
  if (path.compare(4, 4, L"UNC\\") == 0) return L"\\" + path.substr(7);
  return path.substr(4);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

using Registry = RegistryFunctions;

// The strings of a REG_MULTI_SZ value, empty ones included: a deletion is a name followed by an
// empty string.
std::vector<std::wstring> Strings(const std::wstring& data) {
  std::vector<std::wstring> strings;
  for (std::size_t start = 0; start < data.size();) {
    const std::size_t end = std::min(data.find(L'\0', start), data.size());
    strings.push_back(data.substr(start, end - start));
    start = end + 1;
  }
  return strings;
}

}  // namespace

std::wstring FinalPath(const std::wstring& path) {
  // Attributes only, every kind of sharing allowed: opening it disturbs no other program.
  Handle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return path;
  std::wstring final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return path;
    if (length < final.size()) return WithoutPrefix(final.substr(0, length));
    final.resize(length);
  }
}

Status DeleteAtRestart(const std::wstring& path) {
  if (!MoveFileExW(FinalPath(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return LastErrorFailure();
  return Status::Ok();
}

void ForgetDeletionsAtRestart(const std::vector<std::wstring>& final_paths) {
  if (final_paths.empty()) return;
  const Registry registry;
  HKEY key = nullptr;
  if (!registry.usable() ||
      registry.open(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
    return;
  }
  DWORD type = 0, size = 0;
  std::wstring data;
  if (registry.query(key, kPending, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_MULTI_SZ) {
    data.resize(size / sizeof(wchar_t));
    if (registry.query(key, kPending, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
      data.clear();
    }
    data.resize(std::min<std::size_t>(data.size(), size / sizeof(wchar_t)));
  }
  // Pairs of a file and where it goes; the string that ends the value is left over.
  const std::vector<std::wstring> strings = Strings(data);
  std::wstring kept;
  bool forgot = false;
  for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
    const std::wstring source = WithoutPrefix(strings[i]);
    const bool deleted = strings[i + 1].empty() && std::any_of(final_paths.begin(), final_paths.end(),
                                                               [&](const std::wstring& path) { return SameName(source, path); });
    if (deleted) {
      forgot = true;
    } else {
      kept += strings[i] + L'\0' + strings[i + 1] + L'\0';
    }
  }
  if (forgot && kept.empty()) {
    registry.remove(key, kPending);
  } else if (forgot) {
    kept += L'\0';
    registry.set(key, kPending, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kept.data()),
                 static_cast<DWORD>(kept.size() * sizeof(wchar_t)));
  }
  registry.close(key);
}

}  // namespace platform::win32
