#include "platform/program_start.h"

#include <fcntl.h>
#include <signal.h>

#include <cstdio>

namespace platform {

// The arguments come as the bytes the caller gave; in the UTF-8 locales of today's systems those
// are UTF-8 already.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

void IgnoreBrokenPipes() { signal(SIGPIPE, SIG_IGN); }

bool WindowsCanBeSeen() { return true; }

bool WriteToStandardStream(StandardStream stream, const std::string& text) {
  std::FILE* file = stream == StandardStream::kOutput ? stdout : stderr;
  // A closed descriptor leads nowhere.
  if (fcntl(fileno(file), F_GETFD) < 0) return false;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fflush(file);
  return true;
}

}  // namespace platform
