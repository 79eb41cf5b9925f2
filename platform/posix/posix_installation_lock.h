#pragma once

#include <string>

#include "platform/installation_lock.h"

namespace platform::posix {

// The lock of one installation at a time in a Wine prefix, which is a machine of its own: flock on
// the file "ebrona-installer.lock" at the top of the prefix, made when missing and never removed.
// The kernel lets go of it when the holding process ends, however it ends, and no program that the
// holder starts inherits it.
class PosixInstallationLock : public InstallationLock {
 public:
  explicit PosixInstallationLock(std::string prefix) : prefix_(std::move(prefix)) {}
  ~PosixInstallationLock() override { Release(); }

  // Fails when the prefix is empty or its lock file cannot be opened.
  Result<bool> Take(std::chrono::milliseconds limit) override;
  void Release() override;

 private:
  std::string prefix_;
  int fd_ = -1;
};

}  // namespace platform::posix
