#include "platform/posix/path_search.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/posix/error_text.h"

namespace platform::posix {

Result<std::string> FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  // Without PATH, the folders the C library's exec functions search by default.
  const std::string folders = path ? path : "/bin:/usr/bin";
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = folders.find(':', start);
    std::string folder = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (folder.empty()) folder = ".";  // an empty entry means the current folder
    const std::string candidate = folder + "/" + name;
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return ErrorFailure(ENOENT);
}

}  // namespace platform::posix
