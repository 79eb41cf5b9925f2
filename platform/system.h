#pragma once

#include "platform/clock.h"
#include "platform/component_registration.h"
#include "platform/file_system.h"
#include "platform/installation_lock.h"
#include "platform/process_launcher.h"
#include "platform/program_end.h"

namespace platform {

// The operations of the host that the engine and the windows use, gathered in one place.
struct System {
  FileSystem& files;
  ProcessLauncher& processes;
  Clock& clock;
  ProgramEnd& end;
  InstallationLock& lock;
  ComponentRegistration& registration;
};

// The host's own implementation. Defined once per platform (posix/, win32/); CMake links one.
// Lives until the program ends.
System& NativeSystem();

}  // namespace platform
