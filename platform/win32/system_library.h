#pragma once

#include <windows.h>

namespace platform::win32 {

// Loads the system DLL `name` ("rstrtmgr.dll") by its full path in the system folder, so that no
// search for it ever looks in the program's folder or the current one: on Windows 7 without the
// update that restricts the search, that is the folder the program was started from, often a share
// or a USB stick. Null when it cannot be loaded; FreeLibrary when done.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The function `name` of `library`, of the type its declaration gives it; null when it is missing.
template <class Function>
Function LibraryFunction(HMODULE library, const char* name) {
  // Through void(*)() so that the compiler accepts the change of function type.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace platform::win32
