#include "platform/posix/temporary_guard.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace platform::posix {
namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// One copy at a time: the path of its temporary file, valid while `guarding` is set. The handler
// may run on any of the program's threads, so the mark is a lock-free atomic: the path is written
// before the mark is set (release) and read only after the handler has seen it set (acquire).
char guarded_path[PATH_MAX];
std::atomic<bool> guarding{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only use lock-free atomics");

sigset_t EndingSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : kEndingSignals) sigaddset(&signals, signal);
  return signals;
}

// Removes the temporary file and ends the program by the signal. Only async-signal-safe calls.
extern "C" void RemoveTemporaryAndEnd(int signal) {
  if (guarding.load(std::memory_order_acquire)) unlink(guarded_path);
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  sigaction(signal, &default_action, nullptr);
  // Held while the handler runs, the signal arrives again as it returns, and now ends the program.
  raise(signal);
}

// Installs the handler, once, for each signal that still has its default action.
void InstallHandler() {
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryAndEnd;
    action.sa_mask = EndingSignals();
    for (const int signal : kEndingSignals) {
      struct sigaction previous {};
      if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_DFL &&
          !(previous.sa_flags & SA_SIGINFO)) {
        sigaction(signal, &action, nullptr);
      }
    }
    return true;
  }();
  (void)installed;
}

}  // namespace

int CreateGuardedTemporary(std::string& path) {
  InstallHandler();
  const sigset_t held = EndingSignals();
  sigset_t before;
  pthread_sigmask(SIG_BLOCK, &held, &before);
  const int fd = mkostemp(path.data(), O_CLOEXEC);
  const int error = errno;
  // A path too long to keep cannot have been created: mkostemp fails for it first.
  if (fd >= 0 && path.size() < sizeof guarded_path) {
    std::memcpy(guarded_path, path.c_str(), path.size() + 1);
    guarding.store(true, std::memory_order_release);
  }
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  errno = error;
  return fd;
}

void ReleaseGuardedTemporary() { guarding.store(false, std::memory_order_release); }

}  // namespace platform::posix
