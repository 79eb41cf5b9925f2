// The file system suite on Windows: temporary folders under the user's temporary folder.
#include <windows.h>

#include <cctype>
#include <thread>

#include "platform/program_start.h"
#include "platform/system.h"
#include "platform/win32/text_conversion.h"
#include "tests/platform/file_system_conformance.h"

namespace fs = std::filesystem;

namespace native {

fs::path NewTempFolder() {
  static int counter = 0;
  const fs::path folder = fs::temp_directory_path() / ("ebrona-win32-" + std::to_string(GetCurrentProcessId()) + "-" +
                                                       std::to_string(++counter));
  fs::create_directories(folder);
  return folder;
}
platform::FileSystem& Files() { return platform::NativeSystem().files; }
std::string WindowsPath(const fs::path& host) {
  std::string path = platform::win32::Utf8FromWide(host.wstring());
  path[0] = static_cast<char>(std::tolower(path[0]));
  return path;
}
// The system's texts depend on its language; any text will do.
std::string FailureText(int) { return ""; }

std::vector<std::string> LeftoverNames(const std::string& name) {
  return {"~" + name + ".ebrona-12-3.tmp",  "~" + name + ".ebrona-12-3.tmp.bak", "~källa å.ocx.ebrona-12-3.tmp",
          "~" + name + ".ebrona-1a-3.tmp", name + ".ebrona-12-3.tmp",          "~" + name + ".ebrona-7-7.tmp"};
}

// A copy under way holds its temporary file open without sharing.
std::shared_ptr<void> HoldAsCopyUnderWay(const fs::path& file) {
  return {CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr), CloseHandle};
}

// A destination that another program has open without delete sharing is tried by the whole
// program's test, which also checks the text of the failure.
std::vector<CopyFailure> PlatformCopyFailures(const fs::path&, const std::string&) { return {}; }

}  // namespace native

// A log named after a device goes into the device; text for a redirected stream is in the console's
// code page, not in UTF-8, with CR LF line ends.
TEST(Win32Devices, DeviceNamesAreWrittenIntoAndRedirectedTextIsInTheConsolesCodePage) {
  const fs::path folder = native::NewTempFolder();
  for (const std::string& device : {std::string("NUL"), native::WindowsPath(folder) + "\\nul.txt"})
    EXPECT_TRUE(native::Files().WriteFileReplacing(device, "rapport").ok()) << device;
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE),
               file = CreateFileW((folder / "ut.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  SetStdHandle(STD_OUTPUT_HANDLE, file);
  EXPECT_TRUE(platform::WriteToStandardStream(platform::StandardStream::kOutput, "Användning\n"));
  SetStdHandle(STD_OUTPUT_HANDLE, output);
  CloseHandle(file);
  EXPECT_EQ(ReadFile(folder / "ut.txt"), "Anv\x84ndning\r\n") << "ä in 850 and 437, the code pages of Sweden and the US";
  fs::remove_all(folder);
}

// A program that holds the installed file for a moment, as a virus scanner does, delays the copy,
// which then replaces the file as usual rather than around a holder.
TEST(Win32Copy, ABriefHolderDelaysTheCopyButDoesNotMakeItAReplacementInUse) {
  const fs::path folder = native::NewTempFolder();
  WriteFile(folder / "ny.ocx", "ny");
  WriteFile(folder / "komp.ocx", "gammal");
  const HANDLE held = CreateFileW((folder / "komp.ocx").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  std::thread scanner([held] { Sleep(300), CloseHandle(held); });
  bool in_use = true;
  const std::string d = native::WindowsPath(folder);
  EXPECT_TRUE(native::Files().CopyReplacing(d + "\\ny.ocx", d + "\\komp.ocx", &in_use).ok() && !in_use);
  scanner.join();
  EXPECT_EQ(ReadFile(folder / "komp.ocx"), "ny");
  fs::remove_all(folder);
}

// A message box where nobody can see it would wait for ever: only the visible window station shows one.
TEST(Win32Devices, WindowsCanBeSeenOnlyFromTheVisibleWindowStation) {
  const HWINSTA visible = GetProcessWindowStation(), hidden = CreateWindowStationW(L"x", 0, WINSTA_ALL_ACCESS, nullptr);
  EXPECT_TRUE(platform::WindowsCanBeSeen() && SetProcessWindowStation(hidden) && !platform::WindowsCanBeSeen());
  SetProcessWindowStation(visible);
}
