#pragma once

#include <string>

// The temporary file of a copy under way is removed when the program is ended by SIGTERM, SIGINT
// or SIGHUP, so that an interrupted copy usually leaves nothing in the destination's folder; the
// program then ends by that same signal, as it would have without the clean-up. A signal that the
// program was started to ignore, or that something else handles, is left alone.
//
// What holds with several threads (the window's Qt has some): the signals are held off only in the
// thread that creates the file. A signal that another thread takes in the moment between creating
// the file and recording it leaves that one file behind, and the next run's clean-up of leftovers
// removes it; a file that has been recorded is removed whichever thread takes the signal, and the
// handler never sees a half-written record.
namespace platform::posix {

// Creates a new file by the mkostemp pattern `path`, whose "XXXXXX" it fills in, and marks it as the
// one to remove on those signals, which this thread holds off in between. Returns the open
// descriptor, or -1 with errno set.
int CreateGuardedTemporary(std::string& path);

// The temporary file has been renamed or removed: a signal no longer removes anything.
void ReleaseGuardedTemporary();

}  // namespace platform::posix
