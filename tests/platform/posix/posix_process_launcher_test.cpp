#include "platform/posix/posix_process_launcher.h"

#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "temp_prefix.h"

namespace {

namespace fs = std::filesystem;
using platform::posix::DriveMapping;
using platform::posix::PosixProcessLauncher;

// A stand-in tool: writes its arguments, one a line, and WINEPREFIX to a log next to itself.
// The log is written under another name and renamed, so it is complete once it exists.
const char* const kRecordingScript =
    "#!/bin/sh\n"
    "[ \"$1\" = --version ] && exit 0\n"
    "log=\"$(dirname \"$0\")/log\"\n"
    "{ for argument in \"$@\"; do printf '%s\\n' \"$argument\"; done; printf 'WINEPREFIX=%s\\n' \"$WINEPREFIX\"; }"
    " > \"$log.part\"\n"
    "mv \"$log.part\" \"$log\"\n";
// Every character a shell would act on.
const std::string kHostile = "it's \"quoted\"; $(touch pwned) `touch pwned` & | > x";
const std::string kComponent = "c:\\" + kHostile + "\\comdlg32.ocx";

void WriteTool(const fs::path& path, const std::string& content, int mode = 0755) {
  WriteFile(path, content);
  fs::permissions(path, fs::perms(mode));
}

// The log's text once it appears; the wait ends as soon as it does.
std::string AwaitLog(const fs::path& log) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::exists(log) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return ReadFile(log);
}

using PosixProcessLauncherTest = TempPrefixTest;

TEST_F(PosixProcessLauncherTest, ArgumentsArriveWholeWindowsProgramsRunThroughWineAndFailedStartsGiveTheirText) {
  fs::current_path(root_);
  const fs::path tools = DriveC() / ("tools " + kHostile);
  WriteTool(tools / "regsvr32", kRecordingScript);
  WriteTool(tools / "regsvr32.exe", "MZ\x90", 0644);
  WriteTool(root_ / "bin" / "wine", kRecordingScript);
  setenv("PATH", (root_.string() + "/bin:" + std::getenv("PATH")).c_str(), 1);
  setenv("WINEPREFIX", "", 1);  // wine gets the prefix of the mapping, not the environment's
  const DriveMapping drives(prefix_.string());
  PosixProcessLauncher launcher(drives);
  const std::string windows_program = "c:\\tools " + kHostile + "\\regsvr32.exe";
  for (const std::string& program : {"C:\\TOOLS " + kHostile + "\\REGSVR32", windows_program}) {
    const platform::Status status = launcher.StartDetached(program, {"/s", kComponent});
    ASSERT_TRUE(status.ok()) << program << ": " << status.text();
  }
  const std::string arguments = "/s\n" + kComponent + "\nWINEPREFIX=";
  EXPECT_EQ(AwaitLog(tools / "log"), arguments + "\n");
  EXPECT_EQ(AwaitLog(root_ / "bin" / "log"), windows_program + "\n" + arguments + prefix_.string() + "\n");

  WriteTool(DriveC() / "not-executable", kRecordingScript, 0644);
  WriteTool(DriveC() / "no-interpreter-line", "touch pwned\n");
  WriteTool(DriveC() / "mark.exe", "Mx");
  WriteTool(DriveC() / "runs on", "#!/bin/sh\nexec /bin/sleep 2\n");
  setenv("PATH", root_.c_str(), 1);  // no wine anywhere
  const std::pair<std::string, int> failures[] = {
      {"c:\\missing.exe", ENOENT}, {"c:\\not-executable", EACCES}, {"c:\\", EISDIR}, {"q:\\x.exe", ENOENT},
      {"c:\\no-interpreter-line", ENOEXEC},  // no shell steps in
      {windows_program, ENOENT},             // wine is not on PATH
      {"c:\\mark.exe", ENOEXEC},             // "M" alone is no Windows program: not for wine
  };
  for (const auto& [program, error] : failures) {
    // A missing wine is named.
    EXPECT_EQ(launcher.StartDetached(program, {"/s"}).text(),
              (program == windows_program ? "wine: " : "") + std::string(std::strerror(error))) << program;
  }
  // A wine that cannot start its loader, as Debian's where 32-bit programs cannot run, is named
  // with its status and its last line.
  WriteTool(root_ / "bin" / "wine", "#!/bin/sh\necho \"wine: 40: exec: loader: Exec format error\" >&2\nexit 126\n");
  setenv("PATH", (root_ / "bin").c_str(), 1);
  EXPECT_EQ(PosixProcessLauncher(drives).StartDetached(windows_program, {"/s"}).text(),
            "wine kan inte starta program på den här datorn (" + (root_ / "bin" / "wine").string() +
                " --version: kod 126, wine: 40: exec: loader: Exec format error)");
  // The detached tools run as orphans: this process never has a child, running or a zombie, to reap.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "a child of the test";
  EXPECT_FALSE(fs::exists(root_ / "pwned"));
  // A watched program's exit status comes through in the whole-program tests; here the two ends
  // that they do not reach: one still running, and one that does not start.
  std::unique_ptr<platform::WatchedProcess> process, none;
  ASSERT_TRUE(launcher.StartWatched("c:\\runs on", {}, process).ok());
  EXPECT_EQ(process->WaitForExit(std::chrono::milliseconds(200)), std::nullopt);
  EXPECT_EQ(launcher.StartWatched("c:\\saknas", {}, none).text(), std::strerror(ENOENT));
  EXPECT_EQ(none, nullptr);
}

}  // namespace
