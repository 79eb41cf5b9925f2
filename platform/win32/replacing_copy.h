#pragma once

#include <string>

#include "platform/status.h"

namespace platform::win32 {

// Copies `source` over `destination` so that a crash or a failure never leaves a half-written
// destination: the data goes to a new temporary file in the destination's folder, which gets the
// source's last-write time and is flushed, and then takes the destination's name in one rename.
// On failure the temporary file is deleted and the destination is untouched. Temporary files that
// an interrupted copy to the same name left in that folder are deleted first, and nothing else. Both paths naming
// one file (under any spelling, or through a link) is refused before anything is written.
Status CopyFileReplacing(const std::wstring& source, const std::wstring& destination);

// Makes `bytes` the content of the file `path` in the same crash-safe way, with the same clean-up
// of leftovers. Fails, changing nothing, when `path` is a folder.
Status WriteFileReplacing(const std::wstring& path, const std::string& bytes);

}  // namespace platform::win32
