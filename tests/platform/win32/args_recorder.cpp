// Stands in for the registration tool in the tests: writes each argument after its own name, one to
// a line, as UTF-16, into the file named by the environment variable EBRONA_ARGS_RECORD. It writes
// to a temporary name first and renames, so the waiting test sees either no record or the whole one.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main() {
  const wchar_t* record = _wgetenv(L"EBRONA_ARGS_RECORD");
  if (record == nullptr) return 2;
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::wstring text;
  for (int i = 1; i < count; ++i) text += std::wstring(arguments[i]) + L'\n';
  const std::filesystem::path partial = std::wstring(record) + L".part";
  std::ofstream(partial, std::ios::binary)
      .write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * sizeof(wchar_t)));
  std::filesystem::rename(partial, record);
}
