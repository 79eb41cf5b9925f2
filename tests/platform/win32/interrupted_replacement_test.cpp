// The built program, unattended, in a destination folder where an earlier run was killed between
// renaming old components aside and moving the new ones in, as a deployment tool's time-out or a
// power cut leaves it: no file under the components' names, the old files aside, a new one half made.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/system.h"
#include "platform/win32/text_conversion.h"
#include "tests/platform/file_system_conformance.h"

namespace {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& path) { return platform::win32::Utf8FromWide(path.wstring()); }

// The next run puts the old files back before it compares dates, also for a component it does not
// tick, and deletes the unfinished copy.
TEST(InterruptedReplacement, TheNextRunPutsTheOldFilesBackBeforeComparingDates) {
  wchar_t self[MAX_PATH];
  const fs::path beside = fs::path(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH))).parent_path();
  const fs::path program = beside / "ebrona-installer.exe",
                 folder = fs::temp_directory_path() / ("ebrona-interrupted-" + std::to_string(GetCurrentProcessId())),
                 source = folder / u8"källa", destination = folder / u8"mål";
  // Components are images; the program's own file is one.
  const std::string image = ReadFile(program);
  WriteFile(source / "msinet.ocx", image);
  WriteFile(source / "msflxgrd.ocx", image);
  WriteFile(destination / "msinet.ocx", image);
  WriteFile(destination / "~msflxgrd.ocx.ebrona-old-4242-1.tmp", "gammal");
  WriteFile(destination / "~comdlg32.ocx.ebrona-old-4242-2.tmp", "gammal");
  WriteFile(destination / "~comdlg32.ocx.ebrona-4242-3.tmp", "halv");
  for (const fs::path file : {source / "msinet.ocx", destination / "msinet.ocx", destination / "~msflxgrd.ocx.ebrona-old-4242-1.tmp"}) {
    SetDate(file, 2004, 3, 12);
  }
  SetDate(source / "msflxgrd.ocx", 2003, 3, 12);  // older than the file aside: not installed

  std::unique_ptr<platform::WatchedProcess> run;
  ASSERT_TRUE(platform::NativeSystem()
                  .processes.StartWatched(Utf8(program),
                                          {"/S", "/DIR=" + Utf8(destination), "/SOURCE=" + Utf8(source),
                                           "/COMPONENTS=msinet.ocx,msflxgrd.ocx", "/LOG=" + Utf8(folder / "rapport.txt")},
                                          run)
                  .ok());
  EXPECT_EQ(run->WaitForExit(std::chrono::minutes(2)), 0u) << ReadFile(folder / "rapport.txt");
  EXPECT_EQ(ReadFile(destination / "msflxgrd.ocx"), "gammal") << ReadFile(folder / "rapport.txt");
  EXPECT_EQ(ReadFile(destination / "comdlg32.ocx"), "gammal");
  EXPECT_EQ(std::distance(fs::directory_iterator(destination), fs::directory_iterator()), 3);
  fs::remove_all(folder);
}

}  // namespace
