#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "engine/installation_run.h"
#include "engine/installer_state.h"
#include "platform/system.h"

namespace engine {

// The registration of an unattended run: registers the files copied in this run as
// RegisterInstalledFiles does, waiting up to `wait_limit` for each command, then checks in the
// registry that each one registered with status 0, and each up-to-date one, names its classes and
// its type library as this file. An up-to-date component whose check fails is registered again and
// checked again. Every failed command and every check gets its line in RegistrationNotes. When a
// registration failed, its line in the report says so, the summary "klar" is left out (FailedCount
// -1) and RegistrationFailed is set.
void RegisterAndCheck(const InstallerState& state, RunValues& run, platform::System& system,
                      std::chrono::milliseconds wait_limit);

// The lines of the ticked components installed in `state.SystemFolder` whose registration is
// checked and found broken, as RegisterAndCheck words them. Changes nothing.
std::vector<std::string> BrokenRegistrations(const InstallerState& state, RunHost& host, platform::System& system);

}  // namespace engine
