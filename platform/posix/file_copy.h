#pragma once

#include <string>

#include "platform/status.h"

namespace platform::posix {

// Copies the host file `source` to the host path `destination`, replacing an existing file there
// the way Windows does, but crash-safe: the data goes to a new temporary file in the destination's
// folder, which gets the source's permission bits and modification time, is flushed to the disk
// and is then, still open and locked, renamed over the destination. On any failure the temporary
// file is removed and the destination is left exactly as it was; what a killed copy leaves is for
// RemoveLeftoversOf. Fails without touching anything when
// the destination is a folder, is read-only (no write permission bit at all) or is the source
// itself under another name, and when the source is not a regular file (a FIFO or a device).
Status CopyFileReplacing(const std::string& source, const std::string& destination);

// Makes `bytes` the content of the host file `path` in the same crash-safe way, with the same
// clean-up of leftovers. A new file gets the permissions of any new file (0666 narrowed by the
// umask); a replaced one keeps its own. Fails, changing nothing, when `path` is a folder or a block
// device (also behind a link). A symbolic link is replaced, never followed. A character device or a
// FIFO is written into directly, appending where there is an end, and never replaced; a socket is
// not replaced either, and fails. /dev/stdin, /dev/stdout, /dev/stderr, /dev/fd/N and
// /proc/self/fd/N (by their folders' real names) are written into the process's own descriptor.
Status WriteFileReplacing(const std::string& path, const std::string& bytes);

// Removes the temporary files that interrupted copies to the host path `path` left in its folder,
// but not those of a copy under way. (A rename replaces a file in use here, so nothing is ever
// renamed aside to put back.)
void RemoveLeftoversOf(const std::string& path);

}  // namespace platform::posix
