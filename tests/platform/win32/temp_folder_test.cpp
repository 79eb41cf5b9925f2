#include "temp_folder_test.h"

#include <filesystem>

#include "platform/win32/text_conversion.h"

void TempFolderTest::SetUp() {
  wchar_t buffer[MAX_PATH + 1];
  ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, buffer), 0u);
  saved_current_folder_ = buffer;
  ASSERT_NE(GetTempPathW(MAX_PATH, buffer), 0u);
  static int counter = 0;
  root_ = std::wstring(buffer) + L"ebrona-win32-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter) + L"\\";
  ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr)) << GetLastError();
}

void TempFolderTest::TearDown() {
  SetCurrentDirectoryW(saved_current_folder_.c_str());
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(root_), ignored);
}

std::wstring TempFolderTest::SwedishFolder() {
  const std::wstring folder = root_ + L"Mapp med blanksteg åäö ÅÄÖ\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::string TempFolderTest::U8(const std::wstring& path) { return platform::win32::Utf8FromWide(path); }

void TempFolderTest::WriteBytes(const std::wstring& path, const std::string& content) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
  CloseHandle(file);
}

std::string TempFolderTest::ReadBytes(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<unreadable>";
  std::string content;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(file);
  return content;
}

FILETIME TempFolderTest::LastWrite(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

void TempFolderTest::SetLastWrite(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour) {
  const SYSTEMTIME utc{year, month, 0, day, hour, 0, 0, 0};
  FILETIME time;
  ASSERT_TRUE(SystemTimeToFileTime(&utc, &time));
  const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
  CloseHandle(file);
}

std::map<std::wstring, std::string> TempFolderTest::Snapshot(const std::wstring& folder) {
  std::map<std::wstring, std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(folder))) {
    const std::wstring relative = entry.path().lexically_relative(std::filesystem::path(folder)).wstring();
    entries[relative] = entry.is_directory() ? "<folder>" : ReadBytes(entry.path().wstring());
  }
  return entries;
}
