// The program's own arguments, as its start reads them from a real command line.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/command_line.h"
#include "platform/win32/handle.h"
#include "platform/win32/text_conversion.h"
#include "tests/platform/file_system_conformance.h"

namespace {

using platform::win32::Utf8FromWide;

// Every argument comes back whole and unchanged, past the program's own name: blanks, quotation
// marks, backslashes before them, Swedish letters, an empty one, and a wildcard that stays as typed.
TEST(ProgramArguments, EveryArgumentComesBackWholeAsTyped) {
  const std::vector<std::wstring> given = {L"/S", L"/DIR=c:\\Mapp med blanksteg åäö\\", L"", L"citat\"tecken",
                                           L"slutar\\", L"a\\\\\"b", L"tab\there", L"*.ocx"};
  wchar_t self[MAX_PATH];
  const std::filesystem::path probe =
      std::filesystem::path(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH))).parent_path() /
      "program_arguments_probe.exe";
  // The probe runs where a file matches the wildcard.
  const std::filesystem::path folder = native::NewTempFolder(), out = folder / "arguments.txt";
  std::ofstream(folder / "a.ocx") << "x";
  std::vector<std::wstring> arguments = {out.wstring()};
  arguments.insert(arguments.end(), given.begin(), given.end());
  std::wstring line = platform::win32::CommandLine(probe.wstring(), arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessW(probe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                             &started));
  platform::win32::Handle process(started.hProcess), thread(started.hThread);
  ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);

  std::ifstream in(out, std::ios::binary);
  std::vector<std::string> read;
  for (std::string argument; std::getline(in, argument);) read.push_back(argument);
  std::vector<std::string> expected;
  for (const std::wstring& argument : given) expected.push_back(Utf8FromWide(argument));
  EXPECT_EQ(read, expected);
  in.close();
  std::filesystem::remove_all(folder);
}

}  // namespace
