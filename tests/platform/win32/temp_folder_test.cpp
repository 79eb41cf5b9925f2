#include "temp_folder_test.h"

#include <fstream>
#include <sstream>

#include "platform/win32/text_conversion.h"

namespace fs = std::filesystem;

void TempFolderTest::SetUp() {
  saved_current_folder_ = fs::current_path();
  static int counter = 0;
  root_ = (fs::temp_directory_path() / ("ebrona-win32-" + std::to_string(GetCurrentProcessId()) + "-" +
                                        std::to_string(++counter)))
              .wstring() +
          L"\\";
  ASSERT_TRUE(fs::create_directory(root_));
}

void TempFolderTest::TearDown() {
  fs::current_path(saved_current_folder_);
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::wstring TempFolderTest::SwedishFolder() {
  const std::wstring folder = root_ + L"Mapp med blanksteg åäö ÅÄÖ\\";
  fs::create_directory(folder);
  return folder;
}

std::string TempFolderTest::U8(const std::wstring& path) { return platform::win32::Utf8FromWide(path); }

void TempFolderTest::WriteBytes(const std::wstring& path, const std::string& content) {
  std::ofstream(fs::path(path), std::ios::binary) << content;
}

std::string TempFolderTest::ReadBytes(const std::wstring& path) {
  std::ifstream file(fs::path(path), std::ios::binary);
  if (!file) return "<unreadable>";
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

fs::file_time_type TempFolderTest::Noon(std::chrono::year_month_day day) {
  return std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::sys_days(day)) + std::chrono::hours(12));
}

std::map<std::wstring, std::string> TempFolderTest::Snapshot(const std::wstring& folder) {
  std::map<std::wstring, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    entries[entry.path().lexically_relative(folder).wstring()] =
        entry.is_directory() ? "<folder>" : ReadBytes(entry.path().wstring());
  }
  return entries;
}
