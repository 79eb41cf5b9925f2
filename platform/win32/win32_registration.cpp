#include "platform/win32/win32_registration.h"

#include <windows.h>

#include <cstdio>

#include "platform/win32/registry_functions.h"
#include "platform/win32/text_conversion.h"

namespace platform::win32 {
namespace {

std::string SystemWindowsFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH + 1);
  return length == 0 || length > MAX_PATH ? std::string("c:\\windows") : Utf8FromWide(folder);
}

// The default value of HKEY_CLASSES_ROOT\`key` in the view of `bits`-bit programs, REG_EXPAND_SZ
// expanded; nothing when the key or a text value is missing.
std::optional<std::string> DefaultValue(const std::string& key, unsigned bits) {
  static const RegistryFunctions registry;
  if (!registry.usable()) return std::nullopt;
  HKEY opened = nullptr;
  const REGSAM view = bits == 32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  if (registry.open(HKEY_CLASSES_ROOT, WideFromUtf8(key).c_str(), 0, KEY_QUERY_VALUE | view, &opened) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring value(MAX_PATH, L'\0');
  LSTATUS status = ERROR_MORE_DATA;
  for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
    DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    status = registry.get(opened, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, value.data(), &bytes);
    value.resize(status == ERROR_SUCCESS ? bytes / sizeof(wchar_t) : bytes / sizeof(wchar_t) + 1);
  }
  registry.close(opened);
  if (status != ERROR_SUCCESS) return std::nullopt;
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return Utf8FromWide(value);
}

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", value);
  return text;
}

}  // namespace

Win32Registration::Win32Registration(FileSystem& files) : ImageRegistration(files, SystemWindowsFolder()) {}

std::optional<std::string> Win32Registration::ClassServer(const std::string& clsid, unsigned bits) {
  return DefaultValue("CLSID\\" + clsid + "\\InprocServer32", bits);
}

std::optional<std::string> Win32Registration::TypeLibraryFile(const TypeLibraryInfo& library, unsigned bits) {
  return DefaultValue("TypeLib\\" + library.libid + "\\" + Hex(library.major) + "." + Hex(library.minor) + "\\" +
                          Hex(library.lcid) + (bits == 64 ? "\\win64" : "\\win32"),
                      bits);
}

}  // namespace platform::win32
