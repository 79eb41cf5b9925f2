// The Windows program run unattended in its Wine prefix: the check, then an installation into the
// system folder that Wine's own regsvr32.exe registers, with its log, then the check again. The
// components are copies of registration_recorder.dll, which logs every registration it receives.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "platform/system.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kSystemFolder = "c:\\windows\\system32\\";
// riched32.dll, one of the prefix's own DLLs, is left out so that it is never replaced.
constexpr const char* kInstalled[] = {"comdlg32.ocx", "msflxgrd.ocx", "msmapi32.ocx", "tabctl32.ocx",
                                      "msinet.ocx",   "richtx32.ocx", "pdf_itb.ocx"};

// The path as the program's arguments carry it: UTF-8.
std::string U8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class UnattendedWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t self[MAX_PATH];
    folder_ = fs::path(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH))).parent_path();
    recorder_ = Bytes(folder_ / "registration_recorder.dll");
    ASSERT_FALSE(recorder_.empty());
    components_ = fs::temp_directory_path() / ("ebrona unattended " + std::to_string(GetCurrentProcessId()));
    fs::create_directories(components_);
    for (const char* name : kInstalled) {
      ASSERT_FALSE(fs::exists(fs::path(kSystemFolder) / name)) << "the prefix has a " << name << " of its own";
      fs::copy_file(folder_ / "registration_recorder.dll", components_ / name);
    }
    SetEnvironmentVariableW(L"EBRONA_REGISTRATION_LOG", (components_ / "registrations.log").c_str());
  }

  void TearDown() override {
    // The copies, once the registrations that loaded them have let go (Wine's regsvr32.exe has
    // ended by the time the program does, so nothing holds them any more).
    for (const char* name : kInstalled) {
      const fs::path file = fs::path(kSystemFolder) / name;
      if (fs::exists(file) && Bytes(file) == recorder_) fs::remove(file);
    }
    std::error_code ignored;
    fs::remove_all(components_, ignored);
  }

  // Runs the program with `mode` and the choices of this test; returns its exit code.
  int Run(const std::vector<std::string>& mode) {
    std::vector<std::string> arguments = mode;
    std::string components;
    for (const char* name : kInstalled) components.append(components.empty() ? "" : ",").append(name);
    arguments.push_back(std::string("/DIR=") + kSystemFolder);
    arguments.push_back("/SOURCE=" + U8(components_));
    arguments.push_back("/COMPONENTS=" + components);
    std::unique_ptr<platform::WatchedProcess> process;
    const platform::Status started = platform::NativeSystem().processes.StartWatched(
        U8(folder_ / "ebrona-installer.exe"), arguments, process);
    EXPECT_TRUE(started.ok()) << started.text();
    if (!started.ok()) return -1;
    return static_cast<int>(process->WaitForExit(std::chrono::minutes(5)).value_or(-1));
  }

  fs::path folder_;
  fs::path components_;
  std::string recorder_;
};

TEST_F(UnattendedWineTest, CheckInstallWithLogAndCheckAgain) {
  const fs::path log = components_ / "rapport åäö.txt";
  EXPECT_EQ(Run({"/CHECK", "/LOG=" + U8(log)}), 1);
  EXPECT_FALSE(fs::exists(log));
  EXPECT_EQ(Run({"/S", "/LOG=" + U8(log)}), 0);

  const std::string report = Bytes(log);
  EXPECT_EQ(report.rfind("\xEF\xBB\xBFInstallation av systemfiler klar.\r\n", 0), 0u) << report;
  std::vector<std::string> expected;
  for (const char* name : kInstalled) {
    const std::string installed = std::string(kSystemFolder) + name;
    expected.push_back(installed);
    EXPECT_NE(report.find(installed + " registrerad\r\n"), std::string::npos) << report;
    EXPECT_EQ(Bytes(installed), recorder_) << name;
  }
  // The registrations had all ended when the program did, each logging its own path.
  std::vector<std::string> logged;
  std::ifstream in(components_ / "registrations.log");
  for (std::string line; std::getline(in, line);) {
    std::transform(line.begin(), line.end(), line.begin(), [](unsigned char c) { return std::tolower(c); });
    logged.push_back(line);
  }
  std::sort(expected.begin(), expected.end());
  std::sort(logged.begin(), logged.end());
  EXPECT_EQ(logged, expected);
  EXPECT_EQ(Run({"/CHECK"}), 0);
}

}  // namespace
