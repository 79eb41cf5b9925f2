// The whole program against the Wine prefix it runs in: the main window on the Win32 window kit,
// with the real files, processes and clock, installs the components from the current folder into
// the 32-bit system folder of the 64-bit prefix, and the system's own 32-bit regsvr32.exe there
// registers each copied file. The components are copies of registration_recorder.dll, a 32-bit DLL
// that logs every registration it receives.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/platform/win32/gui/gui_fixture.h"
#include "ui/form2.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Where 32-bit components belong on 64-bit Windows.
constexpr const char* kSystemFolder = "c:\\windows\\syswow64\\";
// riched32.dll is one of the prefix's own DLLs: its box is unticked so that it is never replaced.
constexpr const char* kInstalled[] = {"comdlg32.ocx", "msflxgrd.ocx", "msmapi32.ocx", "tabctl32.ocx",
                                      "msinet.ocx",   "richtx32.ocx", "pdf_itb.ocx"};

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Checks `done` until it holds or a minute has passed; returns its last answer.
bool WaitUntil(const std::function<bool()>& done) {
  const auto deadline = Clock::now() + std::chrono::minutes(1);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

class WholeProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_folder_ = fs::current_path();
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const fs::path recorder = fs::path(program).parent_path() / "registration_recorder.dll";
    recorder_ = Bytes(recorder);
    ASSERT_FALSE(recorder_.empty());
    RemoveInstalledCopies();
    for (const char* name : kInstalled) {
      ASSERT_FALSE(fs::exists(fs::path(kSystemFolder) / name)) << "the prefix has a " << name << " of its own";
    }

    // The eight components, riched32.dll included, in a fresh current folder.
    components_ = fs::temp_directory_path() / ("ebrona-components-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(components_);
    for (const char* name : kInstalled) fs::copy_file(recorder, components_ / name);
    fs::copy_file(recorder, components_ / "riched32.dll");
    log_ = components_ / "registrations.log";
    SetEnvironmentVariableW(L"EBRONA_REGISTRATION_LOG", log_.c_str());  // inherited by regsvr32.exe
    fs::current_path(components_);
  }

  void TearDown() override {
    fs::current_path(previous_folder_);
    RemoveInstalledCopies();
    std::error_code ignored;
    if (!components_.empty()) fs::remove_all(components_, ignored);
  }

  // Removes from the system folder the files this test put there, and nothing else; a file may
  // stay locked for a moment while the registration tool that loaded it ends.
  void RemoveInstalledCopies() {
    for (const char* name : kInstalled) {
      const fs::path file = fs::path(kSystemFolder) / name;
      if (!fs::exists(file) || Bytes(file) != recorder_) continue;
      std::error_code error;
      EXPECT_TRUE(WaitUntil([&] { return fs::remove(file, error) || !fs::exists(file); })) << file << error.message();
    }
  }

  std::vector<std::string> LoggedPaths() const {
    std::vector<std::string> paths;
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      paths.push_back(Lower(line));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  std::string recorder_;
  fs::path components_;
  fs::path log_;
  fs::path previous_folder_;
};

TEST_F(WholeProgramTest, InstalleraCopiesIntoTheSystemFolderAndWinesRegsvr32RegistersEachCopy) {
  const std::string prefix_riched32 = Bytes(fs::path(kSystemFolder) / "riched32.dll");
  fake::FakeProgramEnd end;
  platform::System& native = platform::NativeSystem();
  platform::System system{native.files, native.processes, native.clock, end};
  std::string error;
  auto kit = platform::NewNativeWindowKit(system.files, error);
  ASSERT_NE(kit, nullptr) << error;
  ui::Form2 form2(*kit, system);
  form2.Form_Load();
  form2.Show();
  form2.Text1.SetText(kSystemFolder);
  form2.Check1(6).SetValue(0);

  std::string report;
  RunSoon([&] {
    HWND form3 = OwnWindow(L"Installationsrapport");
    report = TextOf(Child(form3, "Text1"));
    PostMessageW(form3, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_THROW(Click(form2.Command1), fake::ProgramEnded);

  std::vector<std::string> expected;
  for (const char* name : kInstalled) {
    SCOPED_TRACE(name);
    const std::string installed = std::string(kSystemFolder) + name;
    expected.push_back(installed);
    EXPECT_NE(report.find(installed + " registrerad\r\n"), std::string::npos) << report;
    EXPECT_EQ(Bytes(installed), recorder_);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_TRUE(WaitUntil([&] { return LoggedPaths().size() >= expected.size(); }));
  EXPECT_EQ(LoggedPaths(), expected);
  EXPECT_EQ(report.find("riched32.dll"), std::string::npos) << report;
  EXPECT_EQ(Bytes(fs::path(kSystemFolder) / "riched32.dll"), prefix_riched32);
}

// The program itself, unattended, with the same components: the check, an installation with its
// log, and the check again.
TEST_F(WholeProgramTest, UnattendedRunInstallsWritesItsLogAndChecks) {
  const auto u8 = [](const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  };
  wchar_t self[MAX_PATH];
  const fs::path program = fs::path(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH))).parent_path() /
                           "ebrona-installer.exe";
  std::string components;
  for (const char* name : kInstalled) components.append(components.empty() ? "" : ",").append(name);
  const fs::path log = components_ / "rapport åäö.txt";
  const auto run = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), {std::string("/DIR=") + kSystemFolder, "/COMPONENTS=" + components,
                                       "/LOG=" + u8(log)});
    std::unique_ptr<platform::WatchedProcess> process;
    EXPECT_TRUE(platform::NativeSystem().processes.StartWatched(u8(program), arguments, process).ok());
    return process ? process->WaitForExit(std::chrono::minutes(5)).value_or(99) : 99;
  };
  EXPECT_EQ(run({"/CHECK"}), 1u);
  EXPECT_EQ(run({"/S"}), 0u);
  const std::string report = Bytes(log);
  EXPECT_EQ(report.rfind("\xEF\xBB\xBFInstallation av systemfiler klar.\r\n", 0), 0u) << report;
  std::vector<std::string> expected;
  for (const char* name : kInstalled) {
    expected.push_back(std::string(kSystemFolder) + name);
    EXPECT_NE(report.find(expected.back() + " registrerad\r\n"), std::string::npos) << report;
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(LoggedPaths(), expected) << "every registration had ended when the program did";
  EXPECT_EQ(run({"/CHECK"}), 0u);
}

}  // namespace
