// What Wine's registry export says, and which file a registry value names, on the real file system.
#include "platform/posix/posix_file_system.h"
#include "platform/posix/reg_export.h"
#include "platform/posix/wine_registration.h"

#include "temp_prefix.h"

namespace {

// `text` as UTF-16LE with a byte-order mark, as `reg export` writes it.
std::string Utf16(const std::string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char c : text) bytes += c, bytes += '\0';
  return bytes;
}

TEST(RegExport, DefaultValuesOfEveryKeyAsText) {
  const auto values = platform::posix::DefaultValues(Utf16(
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CLASSES_ROOT\\CLSID\\{A}\\InprocServer32]\r\n@=\"C:\\\\windows\\\\system32\\\\a \\\"b\\\".ocx\"\r\n"
      "\"ThreadingModel\"=\"Apartment\"\r\n\r\n"
      "[HKEY_CLASSES_ROOT\\Wow6432Node\\CLSID\\{B}\\InprocServer32]\r\n"
      "@=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,25,\\\r\n"
      "  00,5c,00,78,00,2e,00,6f,00,63,00,78,00,00,00\r\n\r\n"
      "[HKEY_CLASSES_ROOT\\CLSID\\{C}]\r\n@=dword:00000001\r\n"));
  const std::map<std::string, std::string> expected = {
      {"hkey_classes_root\\clsid\\{a}\\inprocserver32", "C:\\windows\\system32\\a \"b\".ocx"},
      {"hkey_classes_root\\wow6432node\\clsid\\{b}\\inprocserver32", "%SystemRoot%\\x.ocx"},
  };
  EXPECT_EQ(values, expected);
}

using RegisteredPath = TempPrefixTest;

TEST_F(RegisteredPath, NamesTheInstalledFileUnderAnySpellingCOMAccepts) {
  WriteFile(DriveC() / "windows" / "system32" / "probe.ocx", "MZ");
  WriteFile(DriveC() / "program files" / "gammal" / "probe.ocx", "MZ");
  const platform::posix::DriveMapping drives(prefix_.string());
  platform::posix::PosixFileSystem files(drives);
  platform::posix::WineRegistration registration(files, drives);
  const std::pair<std::string, bool> cases[] = {
      {"C:\\Windows\\System32\\PROBE.OCX", true},
      {"\"c:\\windows\\system32\\probe.ocx\"", true},
      {"\\\\?\\C:\\windows\\system32\\probe.ocx", true},
      {"%SystemRoot%\\system32\\probe.ocx", true},
      {"%WINDIR%\\system32\\probe.ocx\\1", true},
      {"probe.ocx", true},
      {"C:\\Program Files\\Gammal\\probe.ocx", false},
      {"c:\\windows\\system32\\probe.ocx\\x", false},
      {"%OTHER%\\system32\\probe.ocx", false},
      {"", false},
  };
  for (const auto& [registered, names] : cases) {
    EXPECT_EQ(registration.NamesFile(registered, "c:\\windows\\system32\\probe.ocx"), names) << registered;
  }
}

}  // namespace
