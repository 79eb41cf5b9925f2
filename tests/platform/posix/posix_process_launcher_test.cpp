#include "platform/posix/posix_process_launcher.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

#include "temp_prefix.h"

namespace {

using platform::posix::DriveMapping;
using platform::posix::PosixProcessLauncher;

// A stand-in tool: writes its arguments, one a line, and WINEPREFIX to a log next to itself.
// The log is written under another name and renamed, so it is complete once it exists.
const char* const kRecordingScript =
    "#!/bin/sh\n"
    "log=\"$(dirname \"$0\")/log\"\n"
    "{ for argument in \"$@\"; do printf '%s\\n' \"$argument\"; done; printf 'WINEPREFIX=%s\\n' \"$WINEPREFIX\"; }"
    " > \"$log.part\"\n"
    "mv \"$log.part\" \"$log\"\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The processes whose parent is this test, from /proc.
std::vector<std::string> ChildrenOfThisProcess() {
  std::vector<std::string> children;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string stat = TempPrefixTest::ReadFile(entry.path() / "stat");
    const std::size_t end_of_name = stat.rfind(')');
    if (end_of_name == std::string::npos) continue;
    std::istringstream fields(stat.substr(end_of_name + 1));
    std::string state;
    long parent = 0;
    fields >> state >> parent;
    if (parent == getpid()) children.push_back(name + " state " + state);
  }
  return children;
}

class PosixProcessLauncherTest : public TempPrefixTest {
 protected:
  void SetUp() override {
    TempPrefixTest::SetUp();
    // Every character a shell would act on, in the names of the folders.
    hostile_ = "it's \"quoted\"; $(touch pwned) `touch pwned` & | > x";
    tool_folder_ = DriveC() / ("tools " + hostile_);
    std::filesystem::create_directories(tool_folder_);
    std::filesystem::current_path(root_);
  }

  void WriteTool(const std::filesystem::path& path, const std::string& content, mode_t mode) {
    WriteFile(path, content);
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
  }

  std::filesystem::path tool_folder_;
  std::string hostile_;
};

TEST_F(PosixProcessLauncherTest, ArgumentsArriveWholeAndNothingElseRuns) {
  WriteTool(tool_folder_ / "regsvr32", kRecordingScript, 0755);
  const DriveMapping drives = DriveMapping::FromEnvironment();
  PosixProcessLauncher launcher(drives);
  const std::string component = "c:\\" + hostile_ + "\\comdlg32.ocx";

  const platform::Status status = launcher.StartDetached("C:\\TOOLS " + hostile_ + "\\REGSVR32", {"/s", component});
  ASSERT_TRUE(status.ok()) << status.text();
  // The tool runs as an orphan in its own session: this process never has a child to reap.
  EXPECT_EQ(ChildrenOfThisProcess(), std::vector<std::string>{});
  ASSERT_TRUE(WaitForFile(tool_folder_ / "log"));
  EXPECT_EQ(Lines(ReadFile(tool_folder_ / "log")),
            (std::vector<std::string>{"/s", component, "WINEPREFIX=" + prefix_.string()}));
  EXPECT_FALSE(std::filesystem::exists(root_ / "pwned"));
  EXPECT_FALSE(std::filesystem::exists(tool_folder_ / "pwned"));
  EXPECT_EQ(ChildrenOfThisProcess(), std::vector<std::string>{});
}

TEST_F(PosixProcessLauncherTest, WindowsProgramsRunThroughWineInThePrefix) {
  const auto bin = root_ / "bin";
  WriteTool(bin / "wine", kRecordingScript, 0755);
  setenv("PATH", (bin.string() + ":" + Get("PATH").value_or("/usr/bin:/bin")).c_str(), 1);
  setenv("WINEPREFIX", "", 1);  // the child gets the prefix of the mapping, not the environment's
  WriteTool(DriveC() / "windows" / "system32" / "regsvr32.exe", "MZ\x90", 0644);
  const DriveMapping drives(prefix_.string());
  PosixProcessLauncher launcher(drives);
  const std::string component = "c:\\" + hostile_ + "\\comdlg32.ocx";

  const platform::Status status = launcher.StartDetached("c:\\windows\\system32\\regsvr32.exe", {"/s", component});
  ASSERT_TRUE(status.ok()) << status.text();
  ASSERT_TRUE(WaitForFile(bin / "log"));
  EXPECT_EQ(Lines(ReadFile(bin / "log")),
            (std::vector<std::string>{"c:\\windows\\system32\\regsvr32.exe", "/s", component,
                                      "WINEPREFIX=" + prefix_.string()}));
  EXPECT_EQ(ChildrenOfThisProcess(), std::vector<std::string>{});
}

TEST_F(PosixProcessLauncherTest, StartsThatCannotHappenFailWithTheirText) {
  WriteTool(tool_folder_ / "not-executable", kRecordingScript, 0644);
  WriteTool(tool_folder_ / "no-interpreter-line", "touch pwned\n", 0755);
  WriteTool(tool_folder_ / "regsvr32.exe", "MZ", 0755);
  const auto empty_bin = root_ / "empty-bin";
  std::filesystem::create_directories(empty_bin);
  setenv("PATH", empty_bin.c_str(), 1);  // no wine anywhere
  const DriveMapping drives = DriveMapping::FromEnvironment();
  PosixProcessLauncher launcher(drives);
  const std::string folder = "c:\\tools " + hostile_ + "\\";
  const struct {
    std::string program;
    int error;
  } failures[] = {
      {folder + "missing.exe", ENOENT},
      {folder + "not-executable", EACCES},
      {folder + "no-interpreter-line", ENOEXEC},  // no shell steps in
      {folder + "regsvr32.exe", ENOENT},          // wine is not on PATH
      {folder, EISDIR},
      {"q:\\regsvr32.exe", ENOENT},
  };
  for (const auto& failure : failures) {
    const platform::Status status = launcher.StartDetached(failure.program, {"/s", "c:\\x.ocx"});
    ASSERT_FALSE(status.ok()) << failure.program;
    EXPECT_EQ(status.text(), std::strerror(failure.error)) << failure.program;
  }
  EXPECT_FALSE(std::filesystem::exists(root_ / "pwned"));
  EXPECT_EQ(ChildrenOfThisProcess(), std::vector<std::string>{});
}

}  // namespace
