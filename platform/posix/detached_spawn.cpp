#include "platform/posix/detached_spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/error_text.h"

namespace platform::posix {
namespace {

std::vector<char*> NullTerminated(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (const std::string& s : strings) pointers.push_back(const_cast<char*>(s.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// In a forked child: tells the parent why the start failed and ends the child. Only
// async-signal-safe calls, since the parent may have other threads.
[[noreturn]] void ReportAndExit(int pipe_fd, int error) {
  ssize_t ignored = write(pipe_fd, &error, sizeof error);
  (void)ignored;
  _exit(127);
}

// In a forked child: gives the program the signal state of a fresh process and executes it.
[[noreturn]] void Execute(const char* path, char* const* argv, char* const* environment, int report_fd) {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
  execve(path, argv, environment);
  ReportAndExit(report_fd, errno);
}

// Forks; the child runs `in_child` with the writing end of a pipe that a successful exec closes
// (O_CLOEXEC), so the parent reads either an errno or end of file. Returns the child's id in
// `child` and the exec failure, if any.
template <class InChild>
Status ForkAndExec(InChild in_child, pid_t& child) {
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return ErrorFailure(errno);
  child = fork();
  if (child < 0) {
    const int error = errno;
    close(report[0]);
    close(report[1]);
    return ErrorFailure(error);
  }
  if (child == 0) {
    close(report[0]);
    in_child(report[1]);
  }
  close(report[1]);
  int error = 0;
  ssize_t got;
  while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  if (got == static_cast<ssize_t>(sizeof error)) return ErrorFailure(error);
  return Status::Ok();
}

void Reap(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

Status SpawnDetached(const std::string& path, const std::vector<std::string>& argv,
                     const std::vector<std::string>& environment) {
  // Everything the children need is built before forking: after fork only async-signal-safe
  // calls are allowed.
  std::vector<char*> argv_pointers = NullTerminated(argv);
  std::vector<char*> environment_pointers = NullTerminated(environment);
  pid_t child = 0;
  const Status started = ForkAndExec(
      [&](int report_fd) {
        const pid_t grandchild = fork();
        if (grandchild < 0) ReportAndExit(report_fd, errno);
        if (grandchild > 0) _exit(0);  // the grandchild is now an orphan, adopted by the system
        setsid();
        Execute(path.c_str(), argv_pointers.data(), environment_pointers.data(), report_fd);
      },
      child);
  if (child > 0) Reap(child);
  return started;
}

Status SpawnChild(const std::string& path, const std::vector<std::string>& argv,
                  const std::vector<std::string>& environment, pid_t& child) {
  std::vector<char*> argv_pointers = NullTerminated(argv);
  std::vector<char*> environment_pointers = NullTerminated(environment);
  const Status started = ForkAndExec(
      [&](int report_fd) { Execute(path.c_str(), argv_pointers.data(), environment_pointers.data(), report_fd); },
      child);
  if (!started.ok() && child > 0) {
    Reap(child);
    child = 0;
  }
  return started;
}

}  // namespace platform::posix
