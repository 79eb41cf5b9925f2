// Stands in for the registration tool in the tests: writes the command line it was started with
// and then each argument after its own name, one to a line, as UTF-16, into the file named by the
// environment variable EBRONA_ARGS_RECORD. It writes to a temporary name first and renames, so the
// waiting test sees either no record or the whole one.
#include <windows.h>
#include <shellapi.h>

#include <string>

int main() {
  wchar_t record[MAX_PATH + 1];
  const DWORD length = GetEnvironmentVariableW(L"EBRONA_ARGS_RECORD", record, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 2;

  std::wstring text = GetCommandLineW();
  text += L'\n';
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) text += std::wstring(arguments[i]) + L'\n';
  LocalFree(arguments);

  const std::wstring partial = std::wstring(record) + L".part";
  const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  const bool wrote = WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
  if (!wrote || !MoveFileExW(partial.c_str(), record, MOVEFILE_REPLACE_EXISTING)) return 4;
  return 0;
}
