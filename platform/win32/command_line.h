#pragma once

#include <string>
#include <vector>

namespace platform::win32 {

// The command line that makes a Windows program see `program` as its first argument and then each
// of `arguments` as one argument, as CommandLineToArgvW and the C runtimes split it: an argument
// that is empty or holds a blank, TAB, line feed or quotation mark is quoted, with the backslashes
// before a quotation mark (or before the closing one) doubled.
std::wstring CommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments);

}  // namespace platform::win32
