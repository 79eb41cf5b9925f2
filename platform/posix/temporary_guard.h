#pragma once

#include <string>

// The temporary file of a copy under way is removed when the program is ended by SIGTERM, SIGINT
// or SIGHUP, so that an interrupted copy leaves nothing in the destination's folder; the program
// then ends by that same signal, as it would have without the clean-up. A signal that the program
// was started to ignore, or that something else handles, is left alone.
namespace platform::posix {

// Creates a new file by the mkostemp pattern `path`, whose "XXXXXX" it fills in, and marks it as the
// one to remove on those signals, which are held off in between so that no signal can come between
// the two. Returns the open descriptor, or -1 with errno set.
int CreateGuardedTemporary(std::string& path);

// The temporary file has been renamed or removed: a signal no longer removes anything.
void ReleaseGuardedTemporary();

}  // namespace platform::posix
