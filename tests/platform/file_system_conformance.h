#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

// What each platform's tests supply to the file system suite, which every implementation must pass.
namespace native {

// A fresh empty temporary folder on a drive that the implementation under test can name.
std::filesystem::path NewTempFolder();
// The implementation under test, seeing the drives as they are after the last NewTempFolder.
platform::FileSystem& Files();
// The Windows path by which the implementation names the host path `host`, drive letter in lower case.
std::string WindowsPath(const std::filesystem::path& host);
// The platform's text for the POSIX error `error`, or "" where only some text is promised.
std::string FailureText(int error);
// Names that interrupted copies to `name` leave in its folder: the first is a leftover that the next
// copy removes, the last is the temporary file of a copy under way, the others only look alike.
std::vector<std::string> LeftoverNames(const std::string& name);
// Holds `file` as a copy under way holds its temporary file, until the result goes.
std::shared_ptr<void> HoldAsCopyUnderWay(const std::filesystem::path& file);

// A copy that must fail, changing nothing; `arrange`, when set, holds what the failure needs.
struct CopyFailure {
  std::string source, destination;
  int error;
  std::function<std::shared_ptr<void>()> arrange = {};
};
// Failures only this platform can arrange, in `folder`, whose Windows path is `windows`.
std::vector<CopyFailure> PlatformCopyFailures(const std::filesystem::path& folder, const std::string& windows);

}  // namespace native

inline void WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets the modification time to a quarter second past noon UTC on the given day, the same calendar
// day in every time zone within eleven hours of UTC; the fraction shows whether a copy carries the
// whole time.
inline void SetDate(const std::filesystem::path& path, int year, unsigned month, unsigned day) {
  using namespace std::chrono;
  last_write_time(path, file_clock::from_sys(sys_days(std::chrono::year(year) / month / day) + hours(12) + milliseconds(250)));
}
