#pragma once

#include <optional>
#include <string>

#include "platform/installation_lock.h"
#include "platform/win32/handle.h"

namespace platform::win32 {

// The lock of one installation at a time on the machine: an exclusive lock (LockFileEx) on the file
// ebrona-installer.lock in the Windows folder, which every session and both 32-bit and 64-bit
// programs see under one name. Only SYSTEM and administrators can make files there, and the file is
// made with a security that lets them alone open it, so an account without those rights can
// neither make nor lock it, and cannot make installations wait. The system lets go of the lock when
// its handle is closed, also when the run holding it is killed. Take and Release belong to one
// thread.
class Win32InstallationLock : public InstallationLock {
 public:
  // The lock file; tests give one of their own. Empty: the one in the Windows folder.
  explicit Win32InstallationLock(std::wstring path = {}) : path_(std::move(path)) {}
  ~Win32InstallationLock() override { Release(); }

  Result<bool> Take(std::chrono::milliseconds limit) override;
  void Release() override;

 private:
  std::wstring path_;
  // Open while the lock is held.
  std::optional<Handle> file_;
};

}  // namespace platform::win32
