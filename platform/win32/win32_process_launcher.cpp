#include "platform/win32/win32_process_launcher.h"

#include <windows.h>

#include "platform/win32/command_line.h"
#include "platform/win32/handle.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text_conversion.h"

namespace platform::win32 {

Status Win32ProcessLauncher::StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
  const std::wstring application = WideFromUtf8(program);
  std::vector<std::wstring> wide_arguments;
  for (const std::string& argument : arguments) wide_arguments.push_back(WideFromUtf8(argument));
  // CreateProcessW may write into the command line, so it gets a buffer of its own.
  std::wstring command_line = CommandLine(application, wide_arguments);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINNOACTIVE;
  PROCESS_INFORMATION started{};
  // The application name is used as given, so the program is never looked for along PATH.
  if (!CreateProcessW(application.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return LastErrorFailure();
  }
  // Not waited for: closing both handles lets the system free the process when it ends.
  Handle(started.hThread).Close();
  Handle(started.hProcess).Close();
  return Status::Ok();
}

}  // namespace platform::win32
