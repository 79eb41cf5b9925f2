#include "platform/system.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_installation_lock.h"
#include "platform/win32/win32_process_launcher.h"
#include "platform/win32/win32_program_end.h"
#include "platform/win32/win32_registration.h"

namespace platform {

System& NativeSystem() {
  static win32::Win32FileSystem files;
  static win32::Win32ProcessLauncher processes;
  static win32::Win32Clock clock;
  static win32::Win32ProgramEnd end;
  static win32::Win32InstallationLock lock;
  static win32::Win32Registration registration(files);
  static System system{files, processes, clock, end, lock, registration};
  return system;
}

}  // namespace platform
