#include "platform/win32/win32_process_launcher.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/command_line.h"
#include "platform/win32/handle.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text_conversion.h"

namespace platform::win32 {

namespace {

// A started process, held by its handle.
class Win32WatchedProcess : public WatchedProcess {
 public:
  explicit Win32WatchedProcess(HANDLE process) : process_(process) {}

  std::optional<std::uint32_t> WaitForExit(std::chrono::milliseconds limit) override {
    const auto milliseconds = static_cast<DWORD>(std::min<std::chrono::milliseconds::rep>(limit.count(), INFINITE - 1));
    if (WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return static_cast<std::uint32_t>(code);
  }

 private:
  Handle process_;
};

// Starts the program minimised and without taking the focus; the caller owns both handles.
Status Start(const std::string& program, const std::vector<std::string>& arguments, PROCESS_INFORMATION& started) {
  const std::wstring application = WideFromUtf8(program);
  std::vector<std::wstring> wide_arguments;
  for (const std::string& argument : arguments) wide_arguments.push_back(WideFromUtf8(argument));
  // CreateProcessW may write into the command line, so it gets a buffer of its own.
  std::wstring command_line = CommandLine(application, wide_arguments);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINNOACTIVE;
  // The application name is used as given, so the program is never looked for along PATH.
  if (!CreateProcessW(application.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return SystemFailureAbout(GetLastError(), program);
  }
  return Status::Ok();
}

}  // namespace

Status Win32ProcessLauncher::StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
  PROCESS_INFORMATION started{};
  const Status status = Start(program, arguments, started);
  if (!status.ok()) return status;
  // Not waited for: closing both handles lets the system free the process when it ends.
  Handle(started.hThread).Close();
  Handle(started.hProcess).Close();
  return Status::Ok();
}

Status Win32ProcessLauncher::StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                                          std::unique_ptr<WatchedProcess>& process) {
  PROCESS_INFORMATION started{};
  const Status status = Start(program, arguments, started);
  if (!status.ok()) return status;
  Handle(started.hThread).Close();
  process = std::make_unique<Win32WatchedProcess>(started.hProcess);
  return Status::Ok();
}

}  // namespace platform::win32
