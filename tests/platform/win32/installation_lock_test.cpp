// The Windows lock of one installation at a time, for real, under a mutex name of the test's own.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_installation_lock.h"

namespace {

// SYSTEM's run makes the mutex with a security that lets an administrator see it but not wait on
// it. That run is under way: the lock is busy until it ends, and then free.
TEST(InstallationLock, AMutexThatAnotherAccountMadeIsAnotherRunUnderWay) {
  const std::wstring name = L"Global\\ebrona-installer-test-" + std::to_wstring(GetCurrentProcessId());
  PSECURITY_DESCRIPTOR system_only = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;GA;;;SY)", SDDL_REVISION_1, &system_only,
                                                                   nullptr));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, system_only, FALSE};
  const HANDLE other_run = CreateMutexW(&attributes, TRUE, name.c_str());
  LocalFree(system_only);
  platform::win32::Win32InstallationLock lock(name);
  const platform::Result<bool> busy = lock.Take(std::chrono::milliseconds(300));
  EXPECT_TRUE(busy.ok() && !busy.value()) << busy.status().text();
  CloseHandle(other_run);
  const platform::Result<bool> free = lock.Take(std::chrono::milliseconds(0));
  EXPECT_TRUE(free.ok() && free.value()) << free.status().text();
  lock.Release();
}

}  // namespace
