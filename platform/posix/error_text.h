#pragma once

#include <string>

#include "platform/status.h"

namespace platform::posix {

// The C library's description of `error` in the user's language (the program sets the locale at start).
std::string ErrorText(int error);

// A failure carrying the description of `error`.
inline Status ErrorFailure(int error) { return Status::Failure(ErrorText(error)); }

}  // namespace platform::posix
