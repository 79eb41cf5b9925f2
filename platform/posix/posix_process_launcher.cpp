#include "platform/posix/posix_process_launcher.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "platform/posix/detached_spawn.h"
#include "platform/posix/error_text.h"
#include "platform/posix/path_search.h"
#include "platform/posix/posix_watched_process.h"

extern char** environ;

namespace platform::posix {
namespace {

// Whether the file starts with "MZ", the mark of a Windows executable. Fails when the file
// cannot be opened or read, which is also why the start would fail.
Result<bool> IsWindowsProgram(const std::string& host_path) {
  const int fd = open(host_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return ErrorFailure(errno);
  char mark[2] = {};
  ssize_t got;
  while ((got = read(fd, mark, sizeof mark)) < 0 && errno == EINTR) {
  }
  const int error = errno;
  close(fd);
  if (got < 0) return ErrorFailure(error);
  return got == 2 && mark[0] == 'M' && mark[1] == 'Z';
}

// The environment of this process with `name` set to `value`.
std::vector<std::string> EnvironmentWith(const std::string& name, const std::string& value) {
  std::vector<std::string> environment;
  const std::string prefix = name + "=";
  for (char** entry = environ; entry && *entry; ++entry) {
    if (std::string(*entry).compare(0, prefix.size(), prefix) != 0) environment.push_back(*entry);
  }
  environment.push_back(prefix + value);
  return environment;
}

std::vector<std::string> CurrentEnvironment() {
  std::vector<std::string> environment;
  for (char** entry = environ; entry && *entry; ++entry) environment.push_back(*entry);
  return environment;
}

// Whether Wine starts at all, asked as `wine --version`. Debian's wine command starts Wine's 32-bit
// loader whenever wine32 is installed, and on a machine that runs 64-bit code only that fails for
// every program with the shell's "Exec format error" alone; the failure says which command failed,
// its status and the last line it wrote. When the question cannot be asked, the start tells.
Status WineStarts(const std::string& wine, const std::vector<std::string>& environment) {
  int output[2];
  if (pipe2(output, O_CLOEXEC) != 0) return Status::Ok();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output[1], 1);
  posix_spawn_file_actions_adddup2(&actions, output[1], 2);
  std::vector<char*> argv{const_cast<char*>(wine.c_str()), const_cast<char*>("--version"), nullptr};
  std::vector<char*> envp;
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, wine.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  std::string text;
  char buffer[512];
  for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) != 0;) {
    if (got > 0) text.append(buffer, static_cast<std::size_t>(got));
    else if (errno != EINTR) break;
  }
  close(output[0]);
  if (spawned != 0) return Status::Ok();
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return Status::Ok();
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  text.erase(0, text.rfind('\n') + 1);
  const std::string end = WIFEXITED(status) ? "kod " + std::to_string(WEXITSTATUS(status))
                                            : "signal " + std::to_string(WTERMSIG(status));
  return Status::Failure("wine kan inte starta program på den här datorn (" + wine + " --version: " + end +
                         (text.empty() ? "" : ", " + text) + ")");
}

bool HasDrive(const std::string& path) {
  return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
         (path[2] == '\\' || path[2] == '/');
}

}  // namespace

Result<PosixProcessLauncher::HostCommand> PosixProcessLauncher::CommandFor(
    const std::string& program, const std::vector<std::string>& arguments) const {
  const Result<std::string> host = drives_.ToHost(program);
  if (!host.ok()) return host.status();
  const Result<bool> windows_program = IsWindowsProgram(host.value());
  if (!windows_program.ok()) return windows_program.status();

  if (!windows_program.value()) {
    std::vector<std::string> argv{host.value()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return HostCommand{host.value(), argv, CurrentEnvironment()};
  }

  const Result<std::string> wine = FindOnPath("wine");
  // Named, as a shell names a command it cannot find: the bare text would seem to be the tool's.
  if (!wine.ok()) return Status::Failure("wine: " + wine.status().text());
  // Wine is given the program's full Windows path: as written when it names its drive, else the
  // drive form of the file found, so that Wine does not search its own program path.
  std::string windows_path = program;
  if (!HasDrive(program)) {
    const std::size_t slash = host.value().rfind('/');
    const std::optional<std::string> folder = drives_.ToWindows(host.value().substr(0, slash == 0 ? 1 : slash));
    if (folder) windows_path = (folder->back() == '\\' ? *folder : *folder + "\\") + host.value().substr(slash + 1);
  }
  std::vector<std::string> argv{wine.value(), windows_path};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environment =
      drives_.Prefix().empty() ? CurrentEnvironment() : EnvironmentWith("WINEPREFIX", drives_.Prefix());
  if (!wine_starts_) wine_starts_ = WineStarts(wine.value(), environment);
  if (!wine_starts_->ok()) return *wine_starts_;
  return HostCommand{wine.value(), argv, environment};
}

Status PosixProcessLauncher::StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
  const Result<HostCommand> command = CommandFor(program, arguments);
  if (!command.ok()) return command.status();
  return SpawnDetached(command.value().path, command.value().argv, command.value().environment);
}

Status PosixProcessLauncher::StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                                          std::unique_ptr<WatchedProcess>& process) {
  const Result<HostCommand> command = CommandFor(program, arguments);
  if (!command.ok()) return command.status();
  pid_t child = 0;
  const Status started = SpawnChild(command.value().path, command.value().argv, command.value().environment, child);
  if (started.ok()) process = std::make_unique<PosixWatchedProcess>(child);
  return started;
}

}  // namespace platform::posix
