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

std::wstring Program() {
  wchar_t test_program[MAX_PATH];
  GetModuleFileNameW(nullptr, test_program, MAX_PATH);
  return (std::filesystem::path(test_program).parent_path() / "ebrona-installer.exe").wstring();
}

TEST(ProgramResourcesTest, TheVersionResourceCarriesTheProjectVersionAndTheProgramsNames) {
  std::vector<char> info(GetFileVersionInfoSizeW(Program().c_str(), nullptr));
  ASSERT_TRUE(!info.empty() && GetFileVersionInfoW(Program().c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  // The numeric version has four parts; those the project does not set are 0.
  std::string numeric_version = EBRONA_VERSION;
  while (std::count(numeric_version.begin(), numeric_version.end(), '.') < 3) numeric_version += ".0";
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS)),
            numeric_version);

  const std::pair<const wchar_t*, std::string> entries[] = {
      {L"FileVersion", EBRONA_VERSION},
      {L"ProductVersion", EBRONA_VERSION},
      {L"FileDescription", "Installera systemfiler för Ebronaprogrammen"},
      {L"OriginalFilename", "ebrona-installer.exe"},
  };
  for (const auto& [name, expected] : entries) {
    wchar_t* value = nullptr;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041D04B0\\") + name;
    ASSERT_TRUE(VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &size)) << expected;
    EXPECT_EQ(platform::win32::Utf8FromWide(value), expected);
  }
}

TEST(ProgramResourcesTest, TheManifestAsksForAdministratorRightsForA32BitProgram) {
  const HMODULE program = LoadLibraryExW(Program().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  const HRSRC resource = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(resource, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, resource))),
                             SizeofResource(program, resource));
  EXPECT_NE(manifest.find("processorArchitecture=\"x86\""), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos) << manifest;
  FreeLibrary(program);
}

}  // namespace
