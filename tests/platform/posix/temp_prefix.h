#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

// A fresh folder under the system's temporary folder for each test, holding a Wine-style prefix
// at <root>/prefix (set as WINEPREFIX) whose dosdevices the test arranges. PATH and the current
// folder are put back after the test.
class TempPrefixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "ebrona-posix-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = std::filesystem::canonical(pattern);
    prefix_ = root_ / "prefix";
    AddDrive("c:", "../drive_c");
    setenv("WINEPREFIX", prefix_.c_str(), 1);
  }

  void TearDown() override {
    std::filesystem::current_path(saved_folder_);
    setenv("PATH", saved_path_.c_str(), 1);
    std::filesystem::remove_all(root_);
  }

  std::filesystem::path DriveC() const { return prefix_ / "drive_c"; }

  // Maps `letter` ("d:") to `folder` (relative to dosdevices, or absolute), made when missing.
  void AddDrive(const std::string& letter, const std::filesystem::path& folder) {
    std::filesystem::create_directories(prefix_ / "dosdevices" / folder);
    std::filesystem::create_directory_symlink(folder, prefix_ / "dosdevices" / letter);
  }

 public:
  static void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
  }

  static std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Sets the file's modification time to a quarter second past noon, local time, on the given day;
  // the fraction shows whether a copy carries the whole time.
  static void SetDate(const std::filesystem::path& path, int year, int month, int day) {
    std::tm noon{};
    noon.tm_year = year - 1900;
    noon.tm_mon = month - 1;
    noon.tm_mday = day;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const auto time = std::chrono::system_clock::from_time_t(std::mktime(&noon)) + std::chrono::milliseconds(250);
    std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(time));
  }

 protected:
  std::filesystem::path root_;
  std::filesystem::path prefix_;

 private:
  const std::string saved_path_ = std::getenv("PATH");
  const std::filesystem::path saved_folder_ = std::filesystem::current_path();
};
