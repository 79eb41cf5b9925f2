#pragma once

#include "engine/installation_run.h"
#include "platform/clock.h"
#include "platform/system.h"

namespace engine {

// Hands every file copied in this run to the system's registration tool, in catalogue order,
// pausing after each start. The tool is the regsvr32.exe of one of the system's own folders
// (FileSystem::SystemFolders): the destination's, when it is one of them and holds the tool, else the
// first that holds one, so that a destination elsewhere is registered too and a regsvr32.exe planted
// there never runs. The missing-tool text means that no system folder holds one. A destination that
// is a system folder names the tool and the components in that folder's spelling from
// SystemFolders; the report names them as the destination was written. Appends the registration lines, or the missing-tool text, and puts the
// registration failure block in front of the report when a start fails. With a `wait_limit`, each
// command is then waited for up to that limit and its end recorded in RegistrationEnds.
void RegisterInstalledFiles(const InstallerState& state, RunValues& run, platform::System& system,
                            std::optional<std::chrono::milliseconds> wait_limit = std::nullopt);

// Busy-waits until the clock has moved on by at least 0.3 seconds (single precision), also across
// midnight, when the clock falls back to 0. A clock set back at any other moment starts the count
// again from its lower reading, so the pause is never shorter.
void PauseAfterStart(platform::Clock& clock);

}  // namespace engine
