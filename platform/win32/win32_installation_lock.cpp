#include "platform/win32/win32_installation_lock.h"

#include <algorithm>

#include "platform/win32/system_error.h"

namespace platform::win32 {
namespace {

// How often a run that cannot wait on the mutex looks whether it is gone.
constexpr std::chrono::milliseconds kRetry{100};

}  // namespace

Result<bool> Win32InstallationLock::Take(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    Handle mutex(CreateMutexW(nullptr, FALSE, name_.c_str()));
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (mutex.valid()) {
      const auto wait = std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, INFINITE - 1);
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
    // A run under another account made the mutex, and the default security of an object that
    // SYSTEM makes lets an administrator see it but not wait on it. A named mutex lasts as long as
    // a program holds it, so this one is another installation under way: it is tried again until
    // that one has ended or the wait is over.
    if (GetLastError() != ERROR_ACCESS_DENIED) return LastErrorFailure();
    if (left <= left.zero()) return false;
    Sleep(static_cast<DWORD>(std::min(left, kRetry).count()));
  }
}

void Win32InstallationLock::Release() {
  if (!held_) return;
  ReleaseMutex(held_->get());
  held_.reset();
}

}  // namespace platform::win32
