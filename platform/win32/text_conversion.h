#pragma once

#include <string>

// The program's strings are UTF-8, the wide Win32 API takes UTF-16: these convert at that boundary.
namespace platform::win32 {

// Bytes that are not UTF-8 become U+FFFD rather than failing the whole conversion.
std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

}  // namespace platform::win32
