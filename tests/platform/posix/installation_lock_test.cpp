// The lock of one installation at a time in a temporary prefix, taken by two holders as by two runs:
// busy for the second while the first holds it, also after a wait, and not kept by a program that
// the first starts; a prefix that does not exist gives its path and the reason.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/posix_installation_lock.h"
#include "tests/platform/posix/temp_prefix.h"

namespace {

using std::chrono::milliseconds;

std::string Outcome(platform::InstallationLock& lock, milliseconds limit) {
  const platform::Result<bool> taken = lock.Take(limit);
  return !taken.ok() ? taken.status().text() : taken.value() ? "taken" : "held by another run";
}

TEST_F(TempPrefixTest, InstallationLockIsBusyWhileHeldAndNotKeptByAProgramTheHolderStarts) {
  platform::posix::PosixInstallationLock first(prefix_), second(prefix_), missing(root_ / "saknas");
  ASSERT_EQ(Outcome(first, milliseconds(0)), "taken");
  EXPECT_EQ(Outcome(second, milliseconds(0)), "held by another run");
  EXPECT_EQ(Outcome(second, milliseconds(150)), "held by another run");
  const pid_t started = fork();
  if (started == 0) _exit(execl("/bin/sleep", "sleep", "60", nullptr));
  first.Release();
  // Taken once the started program has replaced the copy of this process, unless it keeps the lock.
  EXPECT_EQ(Outcome(second, milliseconds(20000)), "taken");
  kill(started, SIGKILL);
  waitpid(started, nullptr, 0);
  EXPECT_EQ(Outcome(missing, milliseconds(0)), (root_ / "saknas" / "ebrona-installer.lock").string() + ": No such file or directory");
}

}  // namespace
