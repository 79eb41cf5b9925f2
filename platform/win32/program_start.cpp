#include "platform/program_start.h"

#include <windows.h>

#include "platform/win32/text_conversion.h"

namespace platform {
namespace {

// The handle of the stream: the one the program was given (a console, or a file or pipe it was
// redirected to), else the console of the program that started it, attached on first need. A
// program of the window subsystem gets no console of its own, and none is created for it.
HANDLE StreamHandle(StandardStream stream) {
  const DWORD which = stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
  HANDLE handle = GetStdHandle(which);
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) return handle;
  static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
  if (!attached) return nullptr;
  static const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
  return console == INVALID_HANDLE_VALUE ? nullptr : console;
}

}  // namespace

std::vector<std::string> ProgramArguments(int, char**) {
  // shell32 splits the command line as every Windows program does. It is loaded here, after the
  // program has restricted the DLL search to the system folder, not imported: an imported shell32
  // and what it loads would come in before that, by the search order that looks in the program's
  // own folder first.
  using Split = LPWSTR*(WINAPI*)(LPCWSTR, int*);
  const HMODULE shell32 = LoadLibraryW(L"shell32.dll");
  const auto split = reinterpret_cast<Split>(
      reinterpret_cast<void*>(shell32 != nullptr ? GetProcAddress(shell32, "CommandLineToArgvW") : nullptr));
  int count = 0;
  LPWSTR* wide = split != nullptr ? split(GetCommandLineW(), &count) : nullptr;
  std::vector<std::string> arguments;
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(win32::Utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

bool WriteToStandardStream(StandardStream stream, const std::string& text) {
  const HANDLE handle = StreamHandle(stream);
  if (handle == nullptr) return false;
  // A console shows UTF-16 text whatever its code page; a file or a pipe gets the UTF-8 bytes.
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = win32::WideFromUtf8(text);
    return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != 0;
  }
  return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
}

}  // namespace platform
