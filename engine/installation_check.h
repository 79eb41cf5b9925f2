#pragma once

#include <optional>
#include <string>

#include "engine/installation_run.h"
#include "engine/installer_state.h"
#include "platform/file_system.h"

namespace engine {

// Whether the run behind "Installera" with these values would copy at least one ticked entry: by
// the same folder rule for the destination text and the same date rule (none when the host installs
// whatever the dates), reading dates and the first bytes of the sources only. An entry whose source
// cannot be read, or is no component (not a PE image), would not be copied. Nothing, after the refusal warning has been shown, when the destination is empty.
// Creates, writes and starts nothing, and takes no lock.
std::optional<bool> WouldInstallAny(InstallerState& state, const std::string& destination_text, RunHost& host,
                                    platform::FileSystem& files);

}  // namespace engine
