#pragma once

#include <filesystem>

namespace platform {

// Whether the files at the host paths `first` and `second` can both be read and hold the same
// bytes. Read piece by piece, so that large files cost no memory.
bool SameBytes(const std::filesystem::path& first, const std::filesystem::path& second);

}  // namespace platform
