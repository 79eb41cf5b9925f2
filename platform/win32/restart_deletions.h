#pragma once

#include <string>
#include <vector>

#include "platform/status.h"

namespace platform::win32 {

// The path of the file or folder `path` as the system resolved it when opening it, with the long
// names and the letter case on the disk: "C:\Windows\SysWOW64\x.ocx" where a 32-bit program on
// 64-bit Windows wrote "c:\windows\system32\x.ocx". `path` itself when it cannot be opened.
std::wstring FinalPath(const std::wstring& path);

// Has the file `path` deleted when the system next starts (PendingFileRenameOperations, which
// needs administrator rights), naming it by its final path, which the restart finds.
Status DeleteAtRestart(const std::wstring& path);

// Takes out of PendingFileRenameOperations the deletions of `final_paths` (as FinalPath gives them),
// which have been deleted already; every other entry stays as it is. Failures change nothing.
void ForgetDeletionsAtRestart(const std::vector<std::wstring>& final_paths);

}  // namespace platform::win32
