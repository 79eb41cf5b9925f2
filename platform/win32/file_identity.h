#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace platform::win32 {

// What the system knows of the file or folder at `path`: attributes, times, volume and file index.
// Nothing when there is none or it cannot be examined. Asking only for attributes is not stopped
// by the sharing mode of whoever else has the file open.
std::optional<BY_HANDLE_FILE_INFORMATION> FileInformation(const std::wstring& path);

// Whether two informations describe one file: the same volume and the same file index, whatever
// names, links or hard links led to it.
bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b);

}  // namespace platform::win32
