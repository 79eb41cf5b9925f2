#pragma once

#include <chrono>

#include "platform/status.h"

namespace platform {

// The machine-wide lock that lets one installation run at a time, whichever program holds it.
class InstallationLock {
 public:
  virtual ~InstallationLock() = default;

  // Takes the lock, waiting at most `limit` while another run holds it. True when taken (keep it
  // until Release), false when it is still held by another run after `limit`; fails with the
  // description text when the lock cannot be made at all. A run that ended without releasing it,
  // killed or not, no longer holds it.
  virtual Result<bool> Take(std::chrono::milliseconds limit) = 0;

  // Gives up the lock taken by Take.
  virtual void Release() = 0;
};

}  // namespace platform
