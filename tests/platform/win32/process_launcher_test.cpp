#include "temp_folder_test.h"

namespace {

using Win32ProcessLauncherTest = TempFolderTest;

TEST_F(Win32ProcessLauncherTest, EveryArgumentArrivesWholeEvenFromAFolderWithBlanks) {
  // The stand-in tool, built beside the test program, copied to a folder with blanks in its name.
  wchar_t self[MAX_PATH + 1];
  const std::wstring test_program(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  const std::wstring tool = swedish_ + L"regsvr32 stand-in.exe";
  const std::wstring recorder = test_program.substr(0, test_program.find_last_of(L'\\') + 1) + L"args_recorder.exe";
  ASSERT_TRUE(CopyFileW(recorder.c_str(), tool.c_str(), FALSE)) << GetLastError();
  const std::wstring record = root_ + L"record ö.txt";
  ASSERT_TRUE(SetEnvironmentVariableW(L"EBRONA_ARGS_RECORD", record.c_str()));

  const std::vector<std::wstring> arguments = {L"/s", swedish_ + L"comdlg32.ocx", L"", L"citat\"tecken", L"slutar\\",
                                               L"blank och slut\\", L"a\\\\\"b", L"tab\there", L"c:\\utan\\blank\\"};
  std::vector<std::string> utf8;
  for (const std::wstring& argument : arguments) utf8.push_back(U8(argument));
  const platform::Status started = platform::NativeSystem().processes.StartDetached(U8(tool), utf8);
  ASSERT_TRUE(started.ok()) << started.text();

  // The recorder renames the finished record into place; until the rename has let go of it, the
  // file may be there but not yet open to others.
  const ULONGLONG give_up = GetTickCount64() + 60000;
  std::string bytes = ReadBytes(record);
  for (; bytes == "<unreadable>" && GetTickCount64() < give_up; bytes = ReadBytes(record)) Sleep(10);
  std::wstring expected;
  for (const std::wstring& argument : arguments) expected += argument + L'\n';
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t)), expected)
      << "each argument on a line of its own";
}

TEST_F(Win32ProcessLauncherTest, AProgramThatCannotStartFailsWithADescription) {
  WriteBytes(root_ + L"text.exe", "not a program");
  for (const std::wstring& program : {root_ + L"saknas.exe", root_ + L"saknas\\regsvr32.exe", root_,
                                      root_ + L"text.exe"}) {
    SCOPED_TRACE(U8(program));
    const platform::Status started = platform::NativeSystem().processes.StartDetached(U8(program), {"/s", "x.ocx"});
    EXPECT_FALSE(started.ok());
    EXPECT_FALSE(started.text().empty());
  }
}

}  // namespace
