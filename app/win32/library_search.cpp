#include "app/library_search.h"

#include <windows.h>

namespace app {

// The program runs elevated, from the folder that holds the component files: often a download
// folder, a USB stick or a network share, where anyone may have left a DLL under the name of one
// that the program, or Windows on its behalf, loads by name (uxtheme.dll, dwmapi.dll, ...). The
// standard search looks in the program's own folder first, so before anything can load a DLL the
// search is restricted to the system folder, and the current folder is taken out of it as well.
// SetDefaultDllDirectories is looked up here because Windows 7 has it only with an update; without
// it, the current folder is still taken out and the program goes on.
// On POSIX this does not arise in the same way: the program is an ELF binary whose libraries the
// dynamic linker finds by its own fixed paths, and the registration tool is started by its path.
void RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  const FARPROC address = kernel32 != nullptr ? GetProcAddress(kernel32, "SetDefaultDllDirectories") : nullptr;
  if (address != nullptr) {
    // Through void(*)() so that the compiler accepts the change of function type.
    reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(address))(
        LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  SetDllDirectoryW(L"");
}

}  // namespace app
