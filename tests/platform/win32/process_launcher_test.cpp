#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/system.h"
#include "platform/win32/command_line.h"
#include "platform/win32/text_conversion.h"

namespace {

// Each argument comes back whole when Windows splits the command line (as CommandLineToArgvW and the
// C runtimes do) and the program's path with blanks comes first; a start that cannot happen fails
// with a text.
TEST(Win32ProcessLauncherTest, EveryArgumentComesBackWholeAndAProgramThatCannotStartFailsWithAText) {
  std::vector<std::wstring> expected = {L"c:\\Mapp med blanksteg åäö\\regsvr32.exe", L"/s", L"c:\\mapp\\comdlg32.ocx",
                                        L"", L"citat\"tecken", L"slutar\\", L"blank och slut\\", L"a\\\\\"b",
                                        L"tab\there", L"c:\\utan\\blank\\"};
  int count = 0;
  const std::wstring line = platform::win32::CommandLine(expected[0], {expected.begin() + 1, expected.end()});
  wchar_t** split = CommandLineToArgvW(line.c_str(), &count);
  EXPECT_EQ(std::vector<std::wstring>(split, split + count), expected);
  LocalFree(split);

  platform::ProcessLauncher& processes = platform::NativeSystem().processes;
  EXPECT_TRUE(processes.StartDetached("c:\\windows\\system32\\cmd.exe", {"/c", "exit"}).ok());
  const std::filesystem::path temp = std::filesystem::temp_directory_path();
  std::ofstream(temp / "text.exe") << "not a program";
  const auto windows = [](const std::filesystem::path& path) { return platform::win32::Utf8FromWide(path.wstring()); };
  for (const auto& program : {temp / "saknas.exe", temp / "saknas" / "regsvr32.exe", temp, temp / "text.exe"}) {
    const platform::Status failed = processes.StartDetached(windows(program), {"/s", "x.ocx"});
    EXPECT_TRUE(!failed.ok() && !failed.text().empty()) << program;
  }
  // The system's text for it says "%1" where it names the program: the program is named.
  EXPECT_NE(processes.StartDetached(windows(temp / "text.exe"), {}).text().find(windows(temp / "text.exe")), std::string::npos);
  std::filesystem::remove(temp / "text.exe");
}

}  // namespace
