#include "platform/posix/drive_mapping.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_installation_lock.h"
#include "platform/posix/posix_process_launcher.h"
#include "platform/posix/posix_program_end.h"
#include "platform/posix/wine_registration.h"
#include "platform/system.h"

namespace platform {

System& NativeSystem() {
  // Built on first use, from the environment at that time, and kept until the program ends.
  static const posix::DriveMapping drives = posix::DriveMapping::FromEnvironment();
  static posix::PosixFileSystem files(drives);
  static posix::PosixProcessLauncher processes(drives);
  static posix::PosixClock clock;
  static posix::PosixProgramEnd end;
  static posix::PosixInstallationLock lock(drives.Prefix());
  static posix::WineRegistration registration(files, drives);
  static System system{files, processes, clock, end, lock, registration};
  return system;
}

}  // namespace platform
