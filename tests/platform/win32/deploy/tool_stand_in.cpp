// Stands in for a Windows tool that Wine only imitates (robocopy copies nothing, icacls changes
// nothing): copied under the tool's name, it runs the batch file of that name beside it with the
// same arguments and ends with its exit code, as the tool itself would.
#include <windows.h>

#include <cwchar>
#include <string>

int main() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring batch(self, length);
  batch.replace(batch.rfind(L'.'), std::wstring::npos, L".cmd");
  // The arguments: the command line after the program's name, quoted or not.
  const wchar_t* arguments = GetCommandLineW();
  const wchar_t end = *arguments == L'"' ? L'"' : L' ';
  arguments = std::wcschr(arguments + 1, end);
  arguments = arguments ? arguments + 1 : L"";
  // cmd /c strips the outer quotation marks and keeps the rest of the line as it is.
  std::wstring command = L"cmd.exe /c \"\"" + batch + L"\" " + arguments + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return 16;  // robocopy's code for a fatal error
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 16;
  GetExitCodeProcess(process.hProcess, &code);
  return static_cast<int>(code);
}
