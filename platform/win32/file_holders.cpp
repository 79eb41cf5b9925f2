#include "platform/win32/file_holders.h"

#include <windows.h>
#include <restartmanager.h>

#include "platform/win32/system_library.h"
#include "platform/win32/text_conversion.h"

namespace platform::win32 {
namespace {

// Asks an open session for the programs that use the file it has been given.
std::vector<FileHolder> ListHolders(HMODULE library, DWORD session, const std::wstring& path) {
  const auto register_resources = LibraryFunction<decltype(&RmRegisterResources)>(library, "RmRegisterResources");
  const auto get_list = LibraryFunction<decltype(&RmGetList)>(library, "RmGetList");
  LPCWSTR files[] = {path.c_str()};
  if (!register_resources || !get_list || register_resources(session, 1, files, 0, nullptr, 0, nullptr) != ERROR_SUCCESS) {
    return {};
  }
  std::vector<RM_PROCESS_INFO> found(4);
  // The list can grow between the call that sizes it and the next; a few tries are enough.
  for (int attempt = 0; attempt < 4; ++attempt) {
    UINT needed = 0;
    UINT count = static_cast<UINT>(found.size());
    DWORD reasons = 0;
    const DWORD result = get_list(session, &needed, &count, found.data(), &reasons);
    if (result == ERROR_MORE_DATA) {
      found.resize(needed);
      continue;
    }
    std::vector<FileHolder> holders;
    if (result != ERROR_SUCCESS) return holders;
    for (UINT i = 0; i < count && i < found.size(); ++i) {
      holders.push_back({Utf8FromWide(found[i].strAppName), found[i].Process.dwProcessId});
    }
    return holders;
  }
  return {};
}

}  // namespace

std::vector<FileHolder> FileHolders(const std::wstring& path) {
  // Loaded when it is needed rather than imported: the program's imports start before its first
  // statement has restricted where DLLs are looked for, and Restart Manager is rarely needed.
  const HMODULE library = LoadSystemLibrary(L"rstrtmgr.dll");
  if (library == nullptr) return {};
  std::vector<FileHolder> holders;
  const auto start_session = LibraryFunction<decltype(&RmStartSession)>(library, "RmStartSession");
  const auto end_session = LibraryFunction<decltype(&RmEndSession)>(library, "RmEndSession");
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
  if (start_session && end_session && start_session(&session, 0, key) == ERROR_SUCCESS) {
    holders = ListHolders(library, session, path);
    end_session(session);
  }
  FreeLibrary(library);
  return holders;
}

}  // namespace platform::win32
