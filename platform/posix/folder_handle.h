#pragma once

#include <dirent.h>

#include <memory>
#include <string>

namespace platform::posix {

struct FolderCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// An open folder listing, closed when it goes out of scope; null when opendir failed (errno says why).
using FolderHandle = std::unique_ptr<DIR, FolderCloser>;

inline FolderHandle OpenFolder(const std::string& path) { return FolderHandle(opendir(path.c_str())); }

}  // namespace platform::posix
