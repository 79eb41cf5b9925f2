// What the built ebrona-installer.exe tells Windows about itself: its version resource, read back
// as Explorer and deployment tools read it, and the manifest Windows reads when it starts. The
// program beside this test by default, or the one that EBRONA_CHECKED_PROGRAM names, built for
// EBRONA_CHECKED_ARCHITECTURE (the manifest's processorArchitecture).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/win32/text_conversion.h"

TEST(ProgramResourcesTest, VersionResourceWithTheProjectVersionAndAManifestAskingForAdministratorRights) {
  wchar_t self[MAX_PATH];
  const char* checked = std::getenv("EBRONA_CHECKED_PROGRAM");
  const char* architecture = std::getenv("EBRONA_CHECKED_ARCHITECTURE");
  const std::filesystem::path program =
      checked ? std::filesystem::path(platform::win32::WideFromUtf8(checked))
              : std::filesystem::path(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH))).parent_path() /
                    "ebrona-installer.exe";
  std::vector<char> info(GetFileVersionInfoSizeW(program.c_str(), nullptr));
  ASSERT_TRUE(!info.empty() && GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  const std::string numeric = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
                              "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
  // The numeric version has four parts; those the project does not set are 0.
  std::string version = EBRONA_VERSION;
  while (std::count(version.begin(), version.end(), '.') < 3) version += ".0";
  EXPECT_EQ(numeric, version);
  const std::pair<const wchar_t*, std::string> entries[] = {
      {L"FileVersion", EBRONA_VERSION}, {L"ProductVersion", EBRONA_VERSION},
      {L"FileDescription", "Installera systemfiler för Ebronaprogrammen"}, {L"OriginalFilename", "ebrona-installer.exe"}};
  for (const auto& [name, expected] : entries) {
    wchar_t* value = nullptr;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041D04B0\\") + name;
    ASSERT_TRUE(VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &size)) << expected;
    EXPECT_EQ(platform::win32::Utf8FromWide(value), expected);
  }
  const HMODULE loaded = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  const HRSRC resource = FindResourceW(loaded, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(resource, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(loaded, resource))),
                             SizeofResource(loaded, resource));
  const std::string expected_architecture = architecture ? architecture : sizeof(void*) == 8 ? "amd64" : "x86";
  EXPECT_NE(manifest.find("processorArchitecture=\"" + expected_architecture + "\""), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos) << manifest;
  FreeLibrary(loaded);
}
