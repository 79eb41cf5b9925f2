// The file system suite on Windows: temporary folders under the user's temporary folder.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <thread>

#include "platform/program_start.h"
#include "platform/system.h"
#include "platform/win32/restart_deletions.h"
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
// code page, not in UTF-8.
TEST(Win32Devices, DeviceNamesAreWrittenIntoAndRedirectedTextIsInTheConsolesCodePage) {
  const fs::path folder = native::NewTempFolder();
  for (const std::string& device : {std::string("NUL"), native::WindowsPath(folder) + "\\nul.txt"})
    EXPECT_TRUE(native::Files().WriteFileReplacing(device, "rapport").ok()) << device;
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE),
               file = CreateFileW((folder / "ut.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  SetStdHandle(STD_OUTPUT_HANDLE, file);
  EXPECT_TRUE(platform::WriteToStandardStream(platform::StandardStream::kOutput, "Användning"));
  SetStdHandle(STD_OUTPUT_HANDLE, output);
  CloseHandle(file);
  EXPECT_EQ(ReadFile(folder / "ut.txt"), "Anv\x84ndning") << "ä in 850 and 437, the code pages of Sweden and the US";
  fs::remove_all(folder);
}

// The file names of PendingFileRenameOperations, in one text.
static std::wstring PendingRenames() {
  std::wstring names(1 << 16, L'\0');
  DWORD size = static_cast<DWORD>(names.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                   L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, names.data(), &size) != ERROR_SUCCESS) {
    return L"";
  }
  names.resize(size / sizeof(wchar_t));
  std::replace(names.begin(), names.end(), L'\0', L'|');
  return names;
}

// A replacement killed between its two renames left the component's name empty: the clean-up
// gives the newest old file the name back, deletes the other and the unfinished copy, and takes
// the deleted file's restart entry, which names it as the disk does, out of the system's list;
// another program's entry stays.
TEST(Win32Leftovers, TheNewestOldFileTakesTheNameBackAndOnlyTheDeletedFilesRestartEntryGoes) {
  const fs::path folder = native::NewTempFolder();
  const std::wstring older = L"~komp.ocx.ebrona-old-12-1.tmp";
  WriteFile(folder / older, "äldre");
  WriteFile(folder / L"~KOMP.OCX.ebrona-old-12-2.tmp", "gammal");
  WriteFile(folder / L"~komp.ocx.ebrona-12-3.tmp", "halv");
  WriteFile(folder / L"annan.tmp", "annat program");
  SetDate(folder / older, 2001, 1, 1);
  SetDate(folder / L"~KOMP.OCX.ebrona-old-12-2.tmp", 2002, 1, 1);
  std::wstring shouted = (folder / older).wstring();
  std::transform(shouted.begin(), shouted.end(), shouted.begin(), towupper);
  ASSERT_TRUE(platform::win32::DeleteAtRestart(shouted).ok());
  ASSERT_TRUE(MoveFileExW((folder / L"annan.tmp").c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
  EXPECT_NE(PendingRenames().find(older), std::wstring::npos) << "named as the disk does";

  native::Files().RecoverLeftovers(native::WindowsPath(folder) + "\\Komp.ocx");
  EXPECT_EQ(ReadFile(folder / "komp.ocx"), "gammal");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
  EXPECT_EQ(PendingRenames().find(older), std::wstring::npos);
  EXPECT_NE(PendingRenames().find(L"annan.tmp"), std::wstring::npos);
  platform::win32::ForgetDeletionsAtRestart({platform::win32::FinalPath((folder / L"annan.tmp").wstring())});
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
  const platform::Status copied = native::Files().CopyReplacing(native::WindowsPath(folder / "ny.ocx"),
                                                                native::WindowsPath(folder / "komp.ocx"), &in_use);
  scanner.join();
  EXPECT_TRUE(copied.ok() && !in_use) << copied.text();
  EXPECT_EQ(ReadFile(folder / "komp.ocx"), "ny");
  fs::remove_all(folder);
}
