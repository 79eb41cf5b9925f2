// The built program, unattended, in a destination folder where an earlier run was killed between
// renaming old components aside and moving the new ones in, as a deployment tool's time-out or a
// power cut leaves it: no file under the components' names, old files aside, a new one half made.
#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>

#include "platform/system.h"
#include "platform/win32/restart_deletions.h"
#include "platform/win32/text_conversion.h"
#include "tests/platform/file_system_conformance.h"

namespace {

namespace fs = std::filesystem;
using platform::win32::Utf8FromWide;

// The file names of PendingFileRenameOperations, in one text.
std::wstring PendingRenames() {
  std::wstring names(1 << 16, L'\0');
  DWORD size = static_cast<DWORD>(names.size() * sizeof(wchar_t));
  RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", L"PendingFileRenameOperations",
               RRF_RT_REG_MULTI_SZ, nullptr, names.data(), &size);
  return names.substr(0, size / sizeof(wchar_t));
}

// The next run puts the newest old file back before it compares dates, also for a component it
// does not tick; it deletes the rest and takes only their restart entries out of the system's list.
TEST(InterruptedReplacement, TheNextRunPutsTheNewestOldFileBackFirstAndForgetsOnlyTheDeletedFilesRestartEntries) {
  wchar_t self[MAX_PATH];
  const fs::path program = fs::path(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH))).parent_path() /
                           "ebrona-installer.exe",
                 folder = fs::temp_directory_path() / ("ebrona-interrupted-" + std::to_string(GetCurrentProcessId())),
                 source = folder / u8"källa", destination = folder / u8"mål", other = folder / "annan.tmp";
  const std::string old = "~comdlg32.ocx.ebrona-old-42-";
  // A component is an image; the program's own file is one. Its source is older than the file aside.
  for (const auto& [file, content, year] : {std::tuple{source / "msflxgrd.ocx", ReadFile(program), 2003},
                                            {destination / "~msflxgrd.ocx.ebrona-old-42-1.tmp", "gammal", 2004},
                                            {destination / (old + "2.tmp"), "äldre", 2001},
                                            {destination / (old + "3.tmp"), "gammal", 2002},
                                            {destination / "~comdlg32.ocx.ebrona-42-4.tmp", "halv", 2002},
                                            {other, "", 2002}}) {
    WriteFile(file, content);
    SetDate(file, year, 3, 12);
  }
  // The older old file is to be deleted at restart, asked in capitals; so is another program's file.
  ASSERT_TRUE(platform::win32::DeleteAtRestart((destination / L"~COMDLG32.OCX.EBRONA-OLD-42-2.TMP").wstring()).ok());
  ASSERT_TRUE(MoveFileExW(other.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
  // This run's old files, by the names on the disk.
  const std::wstring ours = (folder.filename() / destination.filename() / old).wstring();
  EXPECT_NE(PendingRenames().find(ours + L"2.tmp"), std::wstring::npos) << "named as the disk does";

  std::unique_ptr<platform::WatchedProcess> run;
  ASSERT_TRUE(platform::NativeSystem()
                  .processes.StartWatched(Utf8FromWide(program.wstring()),
                                          {"/S", "/DIR=" + Utf8FromWide(destination.wstring()),
                                           "/SOURCE=" + Utf8FromWide(source.wstring()), "/COMPONENTS=msflxgrd.ocx",
                                           "/LOG=" + Utf8FromWide((folder / "rapport.txt").wstring())},
                                          run)
                  .ok());
  EXPECT_EQ(run->WaitForExit(std::chrono::minutes(2)), 0u) << ReadFile(folder / "rapport.txt");
  EXPECT_EQ(ReadFile(destination / "msflxgrd.ocx") + ReadFile(destination / "comdlg32.ocx"), "gammalgammal");
  EXPECT_EQ(std::distance(fs::directory_iterator(destination), fs::directory_iterator()), 2);
  EXPECT_EQ(PendingRenames().find(ours), std::wstring::npos);
  EXPECT_NE(PendingRenames().find(other.filename().wstring()), std::wstring::npos);
  platform::win32::ForgetDeletionsAtRestart({platform::win32::FinalPath(other.wstring())});
  fs::remove_all(folder);
}

}  // namespace
