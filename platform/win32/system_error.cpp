#include "platform/win32/system_error.h"

#include "platform/win32/text_conversion.h"

namespace platform::win32 {

std::string SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  // Language 0: the thread's, then the user's, then the system's language, as the system chooses.
  const DWORD length =
      FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer, length);
  LocalFree(buffer);
  // System messages end with CR LF (some with a blank before it); the report adds its own breaks.
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  if (text.empty()) return "Error " + std::to_string(code);
  return Utf8FromWide(text);
}

Status SystemFailure(DWORD code) { return Status::Failure(SystemErrorText(code)); }

Status SystemFailureAbout(DWORD code, const std::string& subject) {
  std::string text = SystemErrorText(code);
  for (std::size_t at = 0; (at = text.find("%1", at)) != std::string::npos; at += subject.size()) {
    text.replace(at, 2, subject);
  }
  return Status::Failure(text);
}

Status LastErrorFailure() { return SystemFailure(GetLastError()); }

}  // namespace platform::win32
