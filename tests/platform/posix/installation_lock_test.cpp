// The lock of one installation at a time in a temporary prefix, taken by two holders as by two runs:
// busy for the second while the first holds it, also after a wait, and free once the first lets go.
// (That a program the holder starts does not keep it is shown by the unattended program's test.)
#include "platform/posix/posix_installation_lock.h"
#include "tests/platform/posix/temp_prefix.h"

namespace {

std::string Outcome(platform::InstallationLock& lock, std::chrono::milliseconds limit) {
  const platform::Result<bool> taken = lock.Take(limit);
  return !taken.ok() ? taken.status().text() : taken.value() ? "taken" : "held by another run";
}

TEST_F(TempPrefixTest, InstallationLockIsBusyForASecondHolderUntilTheFirstLetsGo) {
  platform::posix::PosixInstallationLock first(prefix_), second(prefix_), missing(root_ / "saknas");
  ASSERT_EQ(Outcome(first, std::chrono::milliseconds(0)), "taken");
  EXPECT_EQ(Outcome(second, std::chrono::milliseconds(150)), "held by another run");
  first.Release();
  EXPECT_EQ(Outcome(second, std::chrono::milliseconds(0)), "taken");
  EXPECT_EQ(Outcome(missing, std::chrono::milliseconds(0)),
            (root_ / "saknas" / "ebrona-installer.lock").string() + ": No such file or directory");
}

}  // namespace
