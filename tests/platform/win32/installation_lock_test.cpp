// The Windows lock of one installation at a time, for real, on a lock file of the test's own.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_installation_lock.h"
#include "tests/platform/file_system_conformance.h"

namespace {

using platform::win32::Win32InstallationLock;

// A second run waits for the lock while the first holds it, and gets it once the first lets go.
// A lock file that cannot be opened (here a folder stands under its name) is no run under way: the
// lock fails at once, naming the file, instead of waiting.
// (Wine keeps no security of its own for a file, so who may open the lock file shows on Windows only.)
TEST(InstallationLock, IsBusyForASecondRunUntilTheFirstLetsGoAndFailsAtOnceWhenItsFileCannotBeOpened) {
  const std::filesystem::path folder = native::NewTempFolder();
  const std::wstring path = (folder / "ebrona-installer.lock").wstring();
  Win32InstallationLock first(path), second(path);
  ASSERT_TRUE(first.Take(std::chrono::milliseconds(0)).value());
  const platform::Result<bool> busy = second.Take(std::chrono::milliseconds(300));
  EXPECT_TRUE(busy.ok() && !busy.value()) << busy.status().text();

  first.Release();
  const platform::Result<bool> free = second.Take(std::chrono::milliseconds(0));
  EXPECT_TRUE(free.ok() && free.value()) << free.status().text();
  second.Release();

  std::filesystem::create_directory(folder / "folder.lock");
  const platform::Result<bool> taken = Win32InstallationLock((folder / "folder.lock").wstring()).Take(std::chrono::seconds(5));
  ASSERT_FALSE(taken.ok());
  EXPECT_NE(taken.status().text().find("folder.lock"), std::string::npos) << taken.status().text();
  std::filesystem::remove_all(folder);
}

}  // namespace
