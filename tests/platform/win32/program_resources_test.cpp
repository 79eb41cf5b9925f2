// What the built ebrona-installer.exe tells Windows about itself: its version resource, read back
// as Explorer and deployment tools read it, and the manifest Windows reads when it starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/text_conversion.h"

namespace {

std::filesystem::path Program() {
  wchar_t test_program[MAX_PATH];
  GetModuleFileNameW(nullptr, test_program, MAX_PATH);
  return std::filesystem::path(test_program).parent_path() / "ebrona-installer.exe";
}

TEST(ProgramResourcesTest, TheVersionResourceCarriesTheProjectVersionAndTheProgramsNames) {
  const std::wstring program = Program().wstring();
  std::vector<char> info(GetFileVersionInfoSizeW(program.c_str(), nullptr));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));

  struct Entry {
    const wchar_t* name;
    std::string expected;
  };
  const Entry entries[] = {
      {L"FileVersion", EBRONA_VERSION},
      {L"ProductVersion", EBRONA_VERSION},
      {L"FileDescription", "Installera systemfiler för Ebronaprogrammen"},
      {L"OriginalFilename", "ebrona-installer.exe"},
  };
  for (const Entry& entry : entries) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041D04B0\\") + entry.name;
    ASSERT_TRUE(VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) << entry.expected;
    EXPECT_EQ(platform::win32::Utf8FromWide(value), entry.expected);
  }

  // The numeric version has four parts; those the project does not set are 0.
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  std::string expected = EBRONA_VERSION;
  while (std::count(expected.begin(), expected.end(), '.') < 3) expected += ".0";
  const std::string numeric = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(numeric, expected);
}

TEST(ProgramResourcesTest, TheManifestAsksForAdministratorRightsForA32BitProgram) {
  const HMODULE program = LoadLibraryExW(Program().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  const HRSRC resource = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(resource, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, resource))),
                             SizeofResource(program, resource));
  EXPECT_NE(manifest.find("processorArchitecture=\"x86\""), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos) << manifest;
  FreeLibrary(program);
}

}  // namespace
