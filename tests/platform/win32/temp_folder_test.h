#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>

#include "platform/system.h"

// A fresh folder under the user's temporary folder for each test, removed with its contents
// afterwards; the process's current folder is put back as well. The tests arrange files with wide
// paths and U8 turns them into the strings the interface takes.
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The test's folder, ending with "\".
  const std::wstring& Root() const { return root_; }
  // A folder with blanks and Swedish letters in its name, made inside Root(), ending with "\".
  std::wstring SwedishFolder();

  static std::string U8(const std::wstring& path);
  static void WriteBytes(const std::wstring& path, const std::string& content);
  // The file's bytes, or "<unreadable>" when it cannot be opened.
  static std::string ReadBytes(const std::wstring& path);
  // Noon UTC on `day`.
  static std::filesystem::file_time_type Noon(std::chrono::year_month_day day);
  // Every file and folder below `folder`, by relative path, with each file's content; folders
  // map to "<folder>". Comparing two of these shows any change, left-over files included.
  static std::map<std::wstring, std::string> Snapshot(const std::wstring& folder);

  platform::FileSystem& files_ = platform::NativeSystem().files;

 private:
  std::wstring root_;
  std::filesystem::path saved_current_folder_;
};
