#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/system.h"
#include "platform/win32/text_conversion.h"

// A fresh folder under the user's temporary folder for each test, removed with its contents
// afterwards; the process's current folder is put back as well. The tests arrange files with wide
// paths and U8 turns them into the strings the interface takes.
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    const std::wstring name = L"ebrona-win32-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    root_ = (std::filesystem::temp_directory_path() / (name + std::to_wstring(++counter))).wstring() + L"\\";
    swedish_ = root_ + L"Mapp med blanksteg åäö ÅÄÖ\\";
    ASSERT_TRUE(std::filesystem::create_directories(swedish_));
  }

  void TearDown() override {
    std::filesystem::current_path(saved_folder_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  static std::string U8(const std::wstring& path) { return platform::win32::Utf8FromWide(path); }

  static void WriteBytes(const std::wstring& path, const std::string& content) {
    std::ofstream(std::filesystem::path(path), std::ios::binary) << content;
  }

  // The file's bytes, or "<unreadable>" when it cannot be opened.
  static std::string ReadBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<unreadable>";
  }

  // Noon UTC on `day`: the same calendar day in every time zone within eleven hours of UTC.
  static std::filesystem::file_time_type Noon(std::chrono::year_month_day day) {
    using namespace std::chrono;
    return file_clock::from_sys(sys_seconds(sys_days(day)) + hours(12));
  }

  // Every file and folder below `folder` with each file's content; comparing two shows any change.
  static std::map<std::wstring, std::string> Snapshot(const std::wstring& folder) {
    std::map<std::wstring, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      entries[entry.path()] = entry.is_directory() ? "<folder>" : ReadBytes(entry.path());
    }
    return entries;
  }

  std::wstring root_;     // the test's folder, ending with "\"
  std::wstring swedish_;  // a folder in it with blanks and Swedish letters in its name, ending with "\"
  platform::FileSystem& files_ = platform::NativeSystem().files;

 private:
  const std::filesystem::path saved_folder_ = std::filesystem::current_path();
};
