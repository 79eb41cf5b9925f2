#include "platform/win32/command_line.h"
#include "temp_folder_test.h"

namespace {

class Win32ProcessLauncherTest : public TempFolderTest {
 protected:
  // The stand-in tool is built beside the test program.
  static std::wstring RecorderPath() {
    wchar_t self[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"args_recorder.exe";
  }

  // The lines of the record, once the started recorder has written it: its command line, then
  // its arguments.
  static std::vector<std::wstring> AwaitRecord(const std::wstring& record) {
    // The recorder renames the finished record into place; until the rename has let go of it,
    // the file may be there but not yet open to others.
    const ULONGLONG give_up = GetTickCount64() + 60000;
    std::string bytes = ReadBytes(record);
    while (bytes == "<unreadable>" && GetTickCount64() < give_up) {
      Sleep(10);
      bytes = ReadBytes(record);
    }
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::vector<std::wstring> lines;
    for (std::size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }
};

TEST_F(Win32ProcessLauncherTest, EveryArgumentArrivesWholeEvenFromAFolderWithBlanks) {
  const std::wstring folder = SwedishFolder();
  const std::wstring tool = folder + L"regsvr32 stand-in.exe";
  ASSERT_TRUE(CopyFileW(RecorderPath().c_str(), tool.c_str(), FALSE)) << GetLastError();
  const std::wstring record = Root() + L"record ö.txt";
  ASSERT_TRUE(SetEnvironmentVariableW(L"EBRONA_ARGS_RECORD", record.c_str()));

  const std::vector<std::wstring> arguments = {
      L"/s", folder + L"comdlg32.ocx", L"", L"citat\"tecken", L"slutar\\", L"blank och slut\\",
      L"a\\\\\"b", L"tab\there", L"c:\\utan\\blank\\"};
  std::vector<std::string> utf8;
  for (const std::wstring& argument : arguments) utf8.push_back(U8(argument));
  const platform::Status started = platform::NativeSystem().processes.StartDetached(U8(tool), utf8);
  ASSERT_TRUE(started.ok()) << started.text();

  const std::vector<std::wstring> lines = AwaitRecord(record);
  ASSERT_EQ(lines.size(), arguments.size() + 1) << "no record, or not every argument arrived alone: "
                                                << ReadBytes(record);
  EXPECT_EQ(lines[0], platform::win32::CommandLine(tool, arguments));
  for (std::size_t i = 0; i < arguments.size(); ++i) EXPECT_EQ(lines[i + 1], arguments[i]) << "argument " << i;
}

TEST_F(Win32ProcessLauncherTest, AProgramThatCannotStartFailsWithADescription) {
  WriteBytes(Root() + L"text.exe", "not a program");
  for (const std::wstring& program : {Root() + L"saknas.exe", Root() + L"saknas\\regsvr32.exe", Root(),
                                      Root() + L"text.exe"}) {
    SCOPED_TRACE(U8(program));
    const platform::Status started = platform::NativeSystem().processes.StartDetached(U8(program), {"/s", "x.ocx"});
    EXPECT_FALSE(started.ok());
    EXPECT_FALSE(started.text().empty());
  }
}

}  // namespace
