#pragma once

#include <cstdlib>

#include "tests/platform/file_system_conformance.h"

// A fresh folder for each test holding a Wine-style prefix at <root>/prefix (set as WINEPREFIX), whose
// drive c: is <root>/prefix/drive_c. PATH and the current folder are put back after the test.
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

  std::filesystem::path root_;
  std::filesystem::path prefix_;

 private:
  const std::string saved_path_ = std::getenv("PATH");
  const std::filesystem::path saved_folder_ = std::filesystem::current_path();
};
