#pragma once

#include <optional>
#include <string>

#include "platform/installation_lock.h"
#include "platform/win32/handle.h"

namespace platform::win32 {

// The lock of one installation at a time on the machine: a named mutex in the Global namespace,
// which every session sees. A mutex whose holder ended without releasing it (killed, or crashed)
// is abandoned, and counts as free. Take and Release belong to one thread.
class Win32InstallationLock : public InstallationLock {
 public:
  // The mutex's name; tests give one of their own.
  explicit Win32InstallationLock(std::wstring name = L"Global\\ebrona-installer.installation")
      : name_(std::move(name)) {}

  Result<bool> Take(std::chrono::milliseconds limit) override;
  void Release() override;

 private:
  std::wstring name_;
  std::optional<Handle> held_;
};

}  // namespace platform::win32
