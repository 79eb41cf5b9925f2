#pragma once

#include <windows.h>

#include <string>

#include "platform/status.h"

namespace platform::win32 {

// The system's own description of `code`, in the user's language, without the trailing line end.
std::string SystemErrorText(DWORD code);

// A failure carrying the description of `code`.
Status SystemFailure(DWORD code);

// A failure carrying the description of `code` with `subject`, the file or program that failed,
// in the place of each "%1" that the description holds ("Bad EXE format for %1.").
Status SystemFailureAbout(DWORD code, const std::string& subject);

// A failure carrying the description of the calling thread's last error; call it right after the
// failed call, before anything else can change that value.
Status LastErrorFailure();

}  // namespace platform::win32
