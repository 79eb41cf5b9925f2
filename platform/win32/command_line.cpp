#include "platform/win32/command_line.h"

namespace platform::win32 {
namespace {

std::wstring QuotedArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes stand for themselves unless a quotation mark follows them.
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(2 * backslashes, L'\\');
  quoted += L'"';
  return quoted;
}

}  // namespace

std::wstring CommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments) {
  // The program's own name is read up to the closing quotation mark, without escapes; a Windows
  // path cannot hold a quotation mark.
  std::wstring line = L"\"" + program + L"\"";
  for (const std::wstring& argument : arguments) line += L" " + QuotedArgument(argument);
  return line;
}

}  // namespace platform::win32
