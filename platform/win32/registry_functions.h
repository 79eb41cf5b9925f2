#pragma once

#include <windows.h>

#include "platform/win32/system_library.h"

namespace platform::win32 {

// advapi32's registry functions, loaded by its full path when first needed: the program does not
// import advapi32, so that nothing of it is loaded before the program's first statement has
// restricted the DLL search. Each is null when advapi32 or the function cannot be had.
struct RegistryFunctions {
  HMODULE library = LoadSystemLibrary(L"advapi32.dll");
  template <class Function>
  Function Find(const char* name) const {
    return library ? LibraryFunction<Function>(library, name) : nullptr;
  }
  decltype(&RegOpenKeyExW) open = Find<decltype(&RegOpenKeyExW)>("RegOpenKeyExW");
  decltype(&RegQueryValueExW) query = Find<decltype(&RegQueryValueExW)>("RegQueryValueExW");
  decltype(&RegGetValueW) get = Find<decltype(&RegGetValueW)>("RegGetValueW");
  decltype(&RegSetValueExW) set = Find<decltype(&RegSetValueExW)>("RegSetValueExW");
  decltype(&RegDeleteValueW) remove = Find<decltype(&RegDeleteValueW)>("RegDeleteValueW");
  decltype(&RegCloseKey) close = Find<decltype(&RegCloseKey)>("RegCloseKey");

  RegistryFunctions() = default;
  RegistryFunctions(const RegistryFunctions&) = delete;
  RegistryFunctions& operator=(const RegistryFunctions&) = delete;
  ~RegistryFunctions() {
    if (library) FreeLibrary(library);
  }
  bool usable() const { return open && query && get && set && remove && close; }
};

}  // namespace platform::win32
