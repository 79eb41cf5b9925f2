#include "platform/win32/win32_installation_lock.h"

#include <algorithm>

#include "platform/win32/system_error.h"

namespace platform::win32 {

Result<bool> Win32InstallationLock::Take(std::chrono::milliseconds limit) {
  Handle mutex(CreateMutexW(nullptr, FALSE, L"Global\\ebrona-installer.installation"));
  if (!mutex.valid()) return LastErrorFailure();
  const auto wait = std::clamp<std::chrono::milliseconds::rep>(limit.count(), 0, INFINITE - 1);
  switch (WaitForSingleObject(mutex.get(), static_cast<DWORD>(wait))) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its holder ended without letting go
      held_.emplace(std::move(mutex));
      return true;
    case WAIT_TIMEOUT:
      return false;
    default:
      return LastErrorFailure();
  }
}

void Win32InstallationLock::Release() {
  if (!held_) return;
  ReleaseMutex(held_->get());
  held_.reset();
}

}  // namespace platform::win32
