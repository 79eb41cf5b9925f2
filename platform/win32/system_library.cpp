#include "platform/win32/system_library.h"

#include <string>

namespace platform::win32 {

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(folder, length);
  if (path.back() != L'\\') path += L'\\';
  return LoadLibraryW((path + name).c_str());
}

}  // namespace platform::win32
