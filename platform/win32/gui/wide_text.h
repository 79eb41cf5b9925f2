#pragma once

#include <string>

// Conversion between the UTF-8 strings of the forms and the UTF-16 strings of the wide Win32 API.
namespace platform::win32 {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& utf16);

}  // namespace platform::win32
