// A DLL planted in the components folder under a system DLL's name: when any process loads it, it
// creates "<its own path>.loaded" and ends that process, before its missing exports could matter.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t marker[MAX_PATH + 8];
  const DWORD length = GetModuleFileNameW(instance, marker, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    lstrcatW(marker, L".loaded");
    const HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  TerminateProcess(GetCurrentProcess(), 3);
  return FALSE;
}
