#include <windows.h>

#include "platform/system.h"
#include "platform/win32/text_conversion.h"
#include "tests/platform/file_system_conformance.h"

namespace {

namespace fs = std::filesystem;

TEST(Win32ProcessLauncherTest, EveryArgumentArrivesWholeAndAProgramThatCannotStartFailsWithAText) {
  // The stand-in tool, built beside the test program, copied to a folder with blanks in its name.
  const fs::path root = native::NewTempFolder(), folder = root / u8"Mapp med blanksteg åäö";
  wchar_t self[MAX_PATH + 1];
  const fs::path test_program(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH)));
  fs::create_directories(folder);
  fs::copy_file(test_program.parent_path() / "args_recorder.exe", folder / "regsvr32 stand-in.exe");
  const fs::path record = root / u8"record ö.txt";
  ASSERT_TRUE(SetEnvironmentVariableW(L"EBRONA_ARGS_RECORD", record.c_str()));

  const std::vector<std::wstring> arguments = {L"/s", (folder / "comdlg32.ocx").wstring(), L"", L"citat\"tecken",
                                               L"slutar\\", L"blank och slut\\", L"a\\\\\"b", L"tab\there",
                                               L"c:\\utan\\blank\\"};
  std::vector<std::string> utf8;
  for (const std::wstring& argument : arguments) utf8.push_back(platform::win32::Utf8FromWide(argument));
  platform::ProcessLauncher& processes = platform::NativeSystem().processes;
  const platform::Status started = processes.StartDetached(native::WindowsPath(folder / "regsvr32 stand-in.exe"), utf8);
  ASSERT_TRUE(started.ok()) << started.text();
  // The recorder renames the finished record into place; until the rename has let go of it, the
  // file may be there but not yet open to others.
  std::string bytes;
  for (const ULONGLONG give_up = GetTickCount64() + 60000; bytes.empty() && GetTickCount64() < give_up;) {
    Sleep(10);
    bytes = ReadFile(record);
  }
  std::wstring expected;
  for (const std::wstring& argument : arguments) expected += argument + L'\n';
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t)), expected)
      << "each argument on a line of its own";

  WriteFile(root / "text.exe", "not a program");
  for (const fs::path& program : {root / "saknas.exe", root / "saknas" / "regsvr32.exe", root, root / "text.exe"}) {
    const platform::Status failed = processes.StartDetached(native::WindowsPath(program), {"/s", "x.ocx"});
    EXPECT_TRUE(!failed.ok() && !failed.text().empty()) << program;
  }
  std::error_code ignored;
  fs::remove_all(root, ignored);
}

}  // namespace
