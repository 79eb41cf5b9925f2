// Stands in for a component file in the whole-program test: a DLL whose registration entry point
// appends the path it was loaded from, as one UTF-8 line, to the log named by the environment
// variable EBRONA_REGISTRATION_LOG. The registration tool is started once per file without being
// waited for, so several copies may write at once; a named mutex keeps their lines whole.
#include <windows.h>

namespace {

HMODULE self = nullptr;

HRESULT AppendOwnPath() {
  wchar_t log[MAX_PATH + 1];
  wchar_t path[MAX_PATH + 1];
  const DWORD log_length = GetEnvironmentVariableW(L"EBRONA_REGISTRATION_LOG", log, MAX_PATH);
  const DWORD path_length = GetModuleFileNameW(self, path, MAX_PATH);
  if (log_length == 0 || log_length >= MAX_PATH || path_length == 0 || path_length >= MAX_PATH) return E_FAIL;

  char line[4 * MAX_PATH + 2];
  int size = WideCharToMultiByte(CP_UTF8, 0, path, static_cast<int>(path_length), line, 4 * MAX_PATH, nullptr, nullptr);
  if (size == 0) return E_FAIL;
  line[size++] = '\r';
  line[size++] = '\n';

  const HANDLE lock = CreateMutexW(nullptr, FALSE, L"ebrona-registration-log");
  if (lock == nullptr) return E_FAIL;
  WaitForSingleObject(lock, INFINITE);
  const HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool wrote = file != INVALID_HANDLE_VALUE && WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  ReleaseMutex(lock);
  CloseHandle(lock);
  return wrote ? S_OK : E_FAIL;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() { return AppendOwnPath(); }
extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer() { return S_OK; }
