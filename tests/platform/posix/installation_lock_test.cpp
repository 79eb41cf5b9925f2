// The lock of one installation at a time in a temporary prefix, by two processes: busy while the
// other holds it, also after a wait, and free once the other has become a program it starts.
#include <fcntl.h>
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

using PosixInstallationLockTest = TempPrefixTest;

TEST_F(PosixInstallationLockTest, HeldByAnotherProcessUntilItBecomesAProgramItStarts) {
  int said[2], go[2];
  ASSERT_EQ(pipe2(said, O_CLOEXEC) | pipe2(go, O_CLOEXEC), 0);
  const pid_t other = fork();
  if (other == 0) {
    platform::posix::PosixInstallationLock lock(prefix_);
    const char taken = Outcome(lock, milliseconds(0)) == "taken" ? '1' : '0';
    char word;
    if (write(said[1], &taken, 1) == 1 && read(go[0], &word, 1) == 1) execl("/bin/sleep", "sleep", "60", nullptr);
    _exit(1);
  }
  close(said[1]);
  char taken = 0;
  ASSERT_EQ(read(said[0], &taken, 1), 1);
  EXPECT_EQ(taken, '1');
  platform::posix::PosixInstallationLock lock(prefix_);
  EXPECT_EQ(Outcome(lock, milliseconds(0)), "held by another run");
  EXPECT_EQ(Outcome(lock, milliseconds(150)), "held by another run");
  // The exec has happened when the last writing end of the pipe, the other's, is closed.
  ASSERT_EQ(write(go[1], "x", 1), 1);
  EXPECT_EQ(read(said[0], &taken, 1), 0);
  EXPECT_EQ(Outcome(lock, milliseconds(0)), "taken");
  kill(other, SIGKILL);
  waitpid(other, nullptr, 0);
  platform::posix::PosixInstallationLock missing((root_ / "no-prefix").string());
  EXPECT_EQ(Outcome(missing, milliseconds(0)), (root_ / "no-prefix" / "ebrona-installer.lock").string() + ": No such file or directory");
}

}  // namespace
