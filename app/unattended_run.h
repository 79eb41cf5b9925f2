#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "app/choices.h"
#include "platform/system.h"

namespace app {

// How long an unattended run waits for each registration command to end.
inline constexpr std::chrono::milliseconds kRegistrationWait{60000};
// How long an unattended run waits for another installation to end before it gives up with 1618.
inline constexpr std::chrono::milliseconds kLockWait{std::chrono::minutes(10)};

// Runs what the choices ask for without a window: the check (mode kCheck), or the run of
// "Installera" with the choices for Text1, Text2 and the check boxes, its report written to the
// log file when one is named. First, before anything is done, a log that names a folder or would
// replace a file the run uses is refused as a usage error, and wrong folders or missing components
// refuse the run. What goes to the standard error stream goes to `error_stream`, in lines ended by
// "\n": warnings and failures, one line each (the report lines of failed entries and the notes on
// registration commands among them), a line when the wait for another installation begins, and
// the report when the log cannot be written. Returns the exit code (see ExitCode).
int RunUnattended(const Choices& choices, platform::System& system,
                  const std::function<void(const std::string&)>& error_stream,
                  std::chrono::milliseconds registration_wait = kRegistrationWait,
                  std::chrono::milliseconds lock_wait = kLockWait);

}  // namespace app
