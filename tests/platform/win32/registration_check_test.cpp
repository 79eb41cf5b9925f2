// The built program, unattended, in the Wine prefix it runs in, with stand-in components of its own
// bitness registered by the system's regsvr32.exe: a registration that names the installed file is
// checked, one that a cleaner took away is found by /CHECK, and one that names another file fails
// the run.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/system.h"
#include "platform/win32/text_conversion.h"
#include "tests/platform/file_system_conformance.h"

namespace {

namespace fs = std::filesystem;

constexpr int kBits = sizeof(void*) * 8;
const std::string kClass = "{6E3F4A12-2B7C-4D5E-9A81-3C4B5D6E7F80}";

std::string Utf8(const fs::path& path) { return platform::win32::Utf8FromWide(path.wstring()); }

TEST(RegistrationCheckUnderWine, SChecksAndFailsAndCheckFindsBrokenRegistrations) {
  wchar_t self[MAX_PATH];
  const fs::path beside = fs::path(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH))).parent_path();
  const std::string system = kBits == 32 && fs::exists("c:\\windows\\syswow64") ? "c:\\windows\\syswow64\\"
                                                                                 : "c:\\windows\\system32\\";
  const fs::path components = fs::temp_directory_path() / ("ebrona-checked-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(components);
  const std::string suffix = "-" + std::to_string(kBits) + ".dll";
  fs::copy_file(beside / ("registers_this_file" + suffix), components / "comdlg32.ocx");
  fs::copy_file(beside / ("registers_another_file" + suffix), components / "msinet.ocx");
  const fs::path log = components / "logg.txt";
  const auto run = [&](const std::string& mode, const std::string& name) {
    std::unique_ptr<platform::WatchedProcess> process;
    platform::NativeSystem().processes.StartWatched(
        Utf8(beside / "ebrona-installer.exe"),
        {mode, "/DIR=" + system, "/SOURCE=" + Utf8(components), "/COMPONENTS=" + name, "/LOG=" + Utf8(log)}, process);
    return process ? process->WaitForExit(std::chrono::minutes(2)).value_or(99) : 99;
  };
  const auto logged = [&](const std::string& text) { return ReadFile(log).find(text) != std::string::npos; };

  EXPECT_EQ(run("/S", "comdlg32.ocx"), 0u) << ReadFile(log);
  EXPECT_TRUE(logged(system + "comdlg32.ocx: registreringen kontrollerad.\r\n")) << ReadFile(log);
  // A cleaner takes the class away: the check sees it.
  EXPECT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, platform::win32::WideFromUtf8("CLSID\\" + kClass).c_str()), ERROR_SUCCESS);
  EXPECT_EQ(run("/CHECK", "comdlg32.ocx"), 1u);
  // Another component takes the class for a file elsewhere.
  EXPECT_EQ(run("/S", "msinet.ocx"), 3u) << ReadFile(log);
  EXPECT_TRUE(logged(system + "msinet.ocx KUNDE INTE REGISTRERAS\r\n\r\n" + system +
                     "msinet.ocx: REGISTRERAD TILL EN ANNAN FIL: " + kClass +
                     " pekar på C:\\Program Files\\Gammal\\probe.ocx.\r\n")) << ReadFile(log);

  for (const char* name : {"comdlg32.ocx", "msinet.ocx"}) fs::remove(system + name);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, platform::win32::WideFromUtf8("CLSID\\" + kClass).c_str());
  fs::remove_all(components);
}

}  // namespace
