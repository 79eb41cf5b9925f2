#pragma once

#include <string>

#include "platform/status.h"

namespace platform::win32 {

// Copies `source` over `destination` so that a crash or a failure never leaves a half-written
// destination: the data goes to a new temporary file in the destination's folder, which gets the
// source's last-write time and is flushed, and then, still open and unshared, takes the
// destination's name in one rename. On failure the temporary file is deleted and the destination is
// untouched. Both paths naming one file (under any spelling, or through a link) is refused before
// anything is written. A destination that another program holds is tried again for about a second;
// one still held after that is replaced around its holder (see ReplaceFileInUse), which
// `*replaced_in_use`, when given, tells.
Status CopyFileReplacing(const std::wstring& source, const std::wstring& destination,
                         bool* replaced_in_use = nullptr);

// Makes `bytes` the content of the file `path` in the same crash-safe way, after deleting the
// temporary files that interrupted writes to `path` left. Fails, changing nothing, when `path` is a
// folder.
Status WriteFileReplacing(const std::wstring& path, const std::string& bytes);

// Puts back the newest old file renamed aside for a copy to `path` when no file has that name,
// then deletes the temporary files and the old files renamed aside that copies to `path` left in
// its folder, but not those still held open or loaded, and takes the deleted ones' restart entries
// out of PendingFileRenameOperations.
void RecoverLeftoversOf(const std::wstring& path);

}  // namespace platform::win32
