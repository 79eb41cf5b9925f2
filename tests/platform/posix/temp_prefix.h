#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// A fresh folder under the system's temporary folder for each test, holding a Wine-style prefix
// at <root>/prefix whose dosdevices the test arranges. WINEPREFIX, HOME, PATH and the current
// folder are put back after the test.
class TempPrefixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "ebrona-posix-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = std::filesystem::canonical(pattern);
    prefix_ = root_ / "prefix";
    std::filesystem::create_directories(prefix_ / "dosdevices");
    std::filesystem::create_directories(prefix_ / "drive_c");
    std::filesystem::create_directory_symlink("../drive_c", prefix_ / "dosdevices" / "c:");
    for (const char* name : {"WINEPREFIX", "HOME", "PATH"}) saved_.emplace_back(name, Get(name));
    saved_folder_ = std::filesystem::current_path();
    setenv("WINEPREFIX", prefix_.c_str(), 1);
  }

  void TearDown() override {
    std::filesystem::current_path(saved_folder_);
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }


 public:
  static std::optional<std::string> Get(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }


 protected:
  std::filesystem::path DriveC() const { return prefix_ / "drive_c"; }

  // Maps `letter` ("d:") to `folder`, made when missing.
  void AddDrive(const std::string& letter, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
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

  // Polls until `path` exists, up to a generous deadline; the wait ends as soon as it appears.
  static bool WaitForFile(const std::filesystem::path& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(path)) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }


 protected:
  std::filesystem::path root_;
  std::filesystem::path prefix_;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
  std::filesystem::path saved_folder_;
};
