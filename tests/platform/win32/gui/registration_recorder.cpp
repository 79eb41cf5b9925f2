// Stands in for a component file in the whole-program test: a DLL whose registration entry point
// appends the path it was loaded from, as a line, to the log named by the environment variable
// EBRONA_REGISTRATION_LOG. The unattended run waits for each registration, so one writes at a time.
#include <windows.h>

#include <cstdio>

namespace {
HMODULE self = nullptr;
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
  char log[MAX_PATH], path[MAX_PATH];
  if (GetEnvironmentVariableA("EBRONA_REGISTRATION_LOG", log, MAX_PATH) - 1 >= MAX_PATH - 1 ||
      GetModuleFileNameA(self, path, MAX_PATH) - 1 >= MAX_PATH - 1) {
    return E_FAIL;
  }
  FILE* file = std::fopen(log, "a");
  const bool wrote = file != nullptr && std::fprintf(file, "%s\n", path) > 0;
  return file != nullptr && std::fclose(file) == 0 && wrote ? S_OK : E_FAIL;
}
extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer() { return S_OK; }
