#include "platform/program_start.h"

#include <windows.h>

#include "platform/win32/text_conversion.h"

// msvcrt's splitter of the command line into wide arguments (without wildcard expansion when the
// fourth argument is 0). The arrays it returns belong to the runtime.
struct StartupInfo {
  int new_mode;
};
extern "C" int __cdecl __wgetmainargs(int* count, wchar_t*** arguments, wchar_t*** environment, int expand_wildcards,
                                      StartupInfo* start_info);

namespace platform {
namespace {

// The handles the program was given, read once and before any console is attached, which may put
// handles of its own in their place.
HANDLE GivenHandle(StandardStream stream) {
  static const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  static const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  const HANDLE handle = stream == StandardStream::kOutput ? output : error;
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

// Whether the program has the console of the program that started it, attached on first need. A
// program of the window subsystem gets no console of its own, and none is created for it.
bool HasConsole() {
  static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != 0 || GetLastError() == ERROR_ACCESS_DENIED;
  return attached;
}

// The handle of the stream: the one the program was given (a console, or a file or pipe it was
// redirected to), else the console of the program that started it.
HANDLE StreamHandle(StandardStream stream) {
  if (const HANDLE handle = GivenHandle(stream)) return handle;
  if (!HasConsole()) return nullptr;
  static const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
  return console == INVALID_HANDLE_VALUE ? nullptr : console;
}

// Text redirected to a file or a pipe is read back by `type` and by the scripts of that console,
// so it goes in the console's output code page (850 on a Swedish Windows); without a console, in
// the OEM code page, as Windows' own console tools write it, and with CR LF line ends as they do.
std::string RedirectedBytes(const std::string& text) {
  std::string utf8;
  for (const char c : text) utf8 += c == '\n' ? "\r\n" : std::string(1, c);
  const UINT console = HasConsole() ? GetConsoleOutputCP() : 0;
  const UINT code_page = console != 0 ? console : GetOEMCP();
  if (code_page == CP_UTF8) return utf8;
  const std::wstring wide = win32::WideFromUtf8(utf8);
  const int length = static_cast<int>(wide.size());
  std::string bytes(WideCharToMultiByte(code_page, 0, wide.data(), length, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), length, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
  return bytes;
}

}  // namespace

std::vector<std::string> ProgramArguments(int, char**) {
  // The C runtime splits the command line as every Windows program's runtime does, here into wide
  // strings, so that no character is lost to the ANSI code page. It is the runtime the program
  // imports anyway: shell32's CommandLineToArgvW would load shell32 and the DLLs it loads before the
  // first window, and makes the start noticeably slower.
  int count = 0;
  wchar_t** wide = nullptr;
  wchar_t** environment = nullptr;
  StartupInfo start_info{};
  if (__wgetmainargs(&count, &wide, &environment, 0, &start_info) < 0 || wide == nullptr) return {};
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(win32::Utf8FromWide(wide[i]));
  return arguments;
}

void IgnoreBrokenPipes() {}

bool WindowsCanBeSeen() {
  // The interactive window station, WinSta0, is the only visible one.
  USEROBJECTFLAGS flags{};
  const HWINSTA station = GetProcessWindowStation();
  return station == nullptr ||
         !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) ||
         (flags.dwFlags & WSF_VISIBLE) != 0;
}

bool WriteToStandardStream(StandardStream stream, const std::string& text) {
  const HANDLE handle = StreamHandle(stream);
  if (handle == nullptr) return false;
  // A console shows UTF-16 text whatever its code page.
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = win32::WideFromUtf8(text);
    return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != 0;
  }
  const std::string bytes = RedirectedBytes(text);
  return WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
}

}  // namespace platform
