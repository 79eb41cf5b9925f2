// The built program, unattended, in the Wine prefix it runs in: it checks, installs the components
// from a components folder into the 32-bit system folder of the 64-bit prefix, where the system's
// own 32-bit regsvr32.exe registers each copy, writes its log, and checks again. The components are
// copies of registration_recorder.dll, a 32-bit DLL that logs every registration it receives, made
// large; older files are installed, and two runs are started together with one backup folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/system.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text_conversion.h"
#include "tests/platform/file_system_conformance.h"

namespace {

namespace fs = std::filesystem;

// The system folder of the program's bitness in the 64-bit prefix: where 32-bit components belong
// on 64-bit Windows, or system32 for the 64-bit build, which is tested where 32-bit programs
// cannot run.
const std::string kSystemFolder = sizeof(void*) == 8 ? "c:\\windows\\system32\\" : "c:\\windows\\syswow64\\";
// The components but riched32.dll, one of the prefix's own DLLs, which must stay as it is.
constexpr const char* kInstalled[] = {"comdlg32.ocx", "msflxgrd.ocx", "msmapi32.ocx", "tabctl32.ocx",
                                      "msinet.ocx",   "richtx32.ocx", "pdf_itb.ocx"};

std::string Utf8(const fs::path& path) { return platform::win32::Utf8FromWide(path.wstring()); }
using platform::win32::WideFromUtf8;

TEST(WholeProgramTest, UnattendedRunsChecksInstallTakingTurnsRegisterEachCopyWithWinesRegsvr32AndLog) {
  wchar_t self[MAX_PATH];
  const fs::path beside = fs::path(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH))).parent_path();
  const std::string recorder = ReadFile(beside / "registration_recorder.dll") + std::string(16 << 20, '\0'),
                    riched32 = ReadFile(kSystemFolder + "riched32.dll");
  // Removes from the system folder the files that the test put there, and nothing else.
  const auto remove_installed_copies = [&] {
    for (const char* name : kInstalled) {
      if (ReadFile(kSystemFolder + name) == recorder || ReadFile(kSystemFolder + name) == "old") fs::remove(kSystemFolder + name);
    }
  };
  remove_installed_copies();
  const fs::path components = fs::temp_directory_path() / ("ebrona-components-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(components / "kopior");
  fs::copy_file(beside / "registration_recorder.dll", components / "riched32.dll");  // there, but not selected
  std::string names;
  for (const char* name : kInstalled) {
    ASSERT_FALSE(fs::exists(kSystemFolder + name)) << "the prefix has a " << name << " of its own";
    std::ofstream(components / name, std::ios::binary) << recorder;
    std::ofstream(kSystemFolder + name) << "old";
    fs::last_write_time(kSystemFolder + name, fs::last_write_time(components / name) - std::chrono::hours(48));
    names.append(names.empty() ? "" : ",").append(name);
  }
  const fs::path registrations = components / "registrations.log", log = components / u8"rapport åäö.txt";
  SetEnvironmentVariableW(L"EBRONA_REGISTRATION_LOG", registrations.c_str());  // inherited by regsvr32.exe
  // Starts the program once for each log, all together; the highest exit code.
  const auto run = [&](const std::string& mode, const std::vector<fs::path>& logs) {
    std::vector<std::unique_ptr<platform::WatchedProcess>> processes(logs.size());
    for (std::size_t i = 0; i < logs.size(); ++i) {
      EXPECT_TRUE(platform::NativeSystem()
                      .processes.StartWatched(Utf8(beside / "ebrona-installer.exe"),
                                              {mode, "/DIR=" + kSystemFolder, "/SOURCE=" + Utf8(components),
                                               "/COMPONENTS=" + names, "/LOG=" + Utf8(logs[i]),
                                               "/BACKUP=" + Utf8(components / "kopior")},
                                              processes[i])
                      .ok());
    }
    std::uint32_t code = 0;
    for (auto& p : processes) code = std::max(code, p ? p->WaitForExit(std::chrono::minutes(5)).value_or(99) : 99);
    return code;
  };
  // A log is never written over the program, a component or one that the run would install.
  for (const fs::path& used :
       {beside / "EBRONA-INSTALLER.EXE", components / "msinet.ocx", fs::path(kSystemFolder + "msinet.ocx.")}) {
    EXPECT_EQ(run("/S", {used}), 87u) << used;
  }
  EXPECT_EQ(run("/CHECK", {log}), 1u);
  // Both runs find the lock held by this test for a moment and wait; then the one that takes it
  // first runs while the other waits for it to end, so it backs up no new file and copies nothing.
  platform::InstallationLock& lock = platform::NativeSystem().lock;
  ASSERT_TRUE(lock.Take(std::chrono::milliseconds(0)).ok());
  std::thread release([&] { Sleep(2000), lock.Release(); });
  EXPECT_EQ(run("/S", {log, components / "second.txt"}), 0u) << ReadFile(log) << "\n--\n" << ReadFile(components / "second.txt");
  release.join();
  const std::string report = ReadFile(log) + ReadFile(components / "second.txt");
  EXPECT_NE(report.find("\xEF\xBB\xBFInstallation av systemfiler klar.\r\n"), std::string::npos) << report;
  // Every registration has ended when the program does: each copy is registered once.
  std::string registered = "\n" + ReadFile(registrations);
  std::erase(registered, '\r');
  std::transform(registered.begin(), registered.end(), registered.begin(), [](unsigned char c) { return std::tolower(c); });
  EXPECT_EQ(std::count(registered.begin(), registered.end(), '\n'), std::ssize(kInstalled) + 1) << registered;
  for (const char* name : kInstalled) {
    const std::string installed = kSystemFolder + name;
    EXPECT_NE(report.find(installed + " registrerad\r\n"), std::string::npos) << report;
    EXPECT_NE(registered.find("\n" + installed + "\n"), std::string::npos) << registered;
    EXPECT_TRUE(ReadFile(installed) == recorder) << name;
    EXPECT_EQ(ReadFile(components / "kopior" / name), "old") << name;
  }
  EXPECT_EQ(run("/CHECK", {log}), 0u);

  // Newer sources for two installed components that this process has loaded, as a running program
  // does: both are replaced around it, their old files renamed aside and deleted at restart.
  const auto newer = [&](const std::string& name) {
    fs::last_write_time(components / name, fs::last_write_time(kSystemFolder + name) + std::chrono::hours(48));
    return WideFromUtf8(kSystemFolder + name);
  };
  const auto aside = [&](const std::string& name) {  // the old file renamed aside, or a new one left over
    std::wstring found;
    for (const auto& entry : fs::directory_iterator(kSystemFolder)) {
      if (Utf8(entry.path().filename()).starts_with("~" + name + ".ebrona-")) found += entry.path().filename().wstring();
    }
    return found;
  };
  const HMODULE held[] = {LoadLibraryW(newer("comdlg32.ocx").c_str()), LoadLibraryW(newer("msflxgrd.ocx").c_str())};
  EXPECT_EQ(run("/S", {log}), 3010u);
  wchar_t pending[8192] = {};  // the names, each ended by a null character
  DWORD size = sizeof pending - sizeof(wchar_t);
  RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager",
               L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, pending, &size);
  for (const std::string name : {"comdlg32.ocx", "msflxgrd.ocx"}) {
    EXPECT_EQ(fs::last_write_time(kSystemFolder + name), fs::last_write_time(components / name)) << name;
    EXPECT_TRUE(!aside(name).empty() && std::wstring(pending, size / 2).find(aside(name)) != std::wstring::npos) << name;
  }
  // The next run deletes the old file that nobody holds any longer; Wine's restart the other.
  FreeLibrary(held[1]);
  EXPECT_EQ(run("/S", {log}), 0u);
  EXPECT_TRUE(aside("msflxgrd.ocx").empty() && !aside("comdlg32.ocx").empty());
  FreeLibrary(held[0]);
  std::unique_ptr<platform::WatchedProcess> restart;
  ASSERT_TRUE(platform::NativeSystem().processes.StartWatched("c:\\windows\\system32\\wineboot.exe", {"-r"}, restart).ok());
  EXPECT_EQ(restart->WaitForExit(std::chrono::minutes(2)), 0u);
  EXPECT_EQ(aside("comdlg32.ocx"), L"");

  // Opened without delete sharing, the installed file cannot even be renamed: the entry fails with
  // the system's sharing-violation text, and the old file stays as it was, alone.
  const auto installed_time = fs::last_write_time(kSystemFolder + "comdlg32.ocx");
  const HANDLE opened = CreateFileW(newer("comdlg32.ocx").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(run("/S", {log}), 1u);
  CloseHandle(opened);
  EXPECT_NE(ReadFile(log).find("comdlg32.ocx KUNDE INTE LÄGGAS IN. " + platform::win32::SystemErrorText(ERROR_SHARING_VIOLATION)),
            std::string::npos) << ReadFile(log);
  EXPECT_EQ(fs::last_write_time(kSystemFolder + "comdlg32.ocx"), installed_time);
  EXPECT_EQ(aside("comdlg32.ocx"), L"");
  EXPECT_EQ(ReadFile(kSystemFolder + "riched32.dll"), riched32);
  remove_installed_copies();
  fs::remove_all(components);
}

// The 32-bit program on 64-bit Windows: without /DIR it installs into sysWOW64, the folder it
// proposes first, and Windows shows it system32 as that folder, so that started there without
// /SOURCE its source folder is the destination: refused.
TEST(WholeProgramTest, ThirtyTwoBitProgramInstallsIntoSysWow64AndTakesSystem32ForIt) {
  if (sizeof(void*) == 8) {
    GTEST_SKIP() << "about the 32-bit program on 64-bit Windows (sysWOW64 proposed first, system32 redirected to "
                    "it); this is the 64-bit build, tested on a machine that cannot run 32-bit programs";
  }
  wchar_t self[MAX_PATH];
  const fs::path beside = fs::path(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH))).parent_path();
  const std::string program = Utf8(beside / "ebrona-installer.exe"), installed = kSystemFolder + "pdf_itb.ocx";
  const fs::path components = fs::temp_directory_path() / ("ebrona-proposed-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(components);
  fs::copy_file(beside / "registration_recorder.dll", components / "pdf_itb.ocx");
  std::ofstream(installed) << "old";
  fs::last_write_time(installed, fs::last_write_time(components / "pdf_itb.ocx") - std::chrono::hours(48));
  const auto exit_code = [&](const fs::path& folder, const std::vector<std::string>& arguments) {
    const fs::path here = fs::current_path();
    fs::current_path(folder);
    std::unique_ptr<platform::WatchedProcess> process;
    platform::NativeSystem().processes.StartWatched(program, arguments, process);
    fs::current_path(here);
    return process ? process->WaitForExit(std::chrono::minutes(5)).value_or(99) : 99;
  };
  EXPECT_EQ(exit_code("c:\\windows\\system32", {"/CHECK"}), 4u);
  EXPECT_EQ(exit_code(components, {"/S", "/LOG=" + Utf8(components / "rapport.txt")}), 0u);
  EXPECT_NE(ReadFile(components / "rapport.txt").find("c:\\windows\\sysWOW64\\pdf_itb.ocx registrerad\r\n"), std::string::npos)
      << ReadFile(components / "rapport.txt");
  EXPECT_EQ(ReadFile(installed), ReadFile(components / "pdf_itb.ocx"));
  fs::remove(installed);
  fs::remove_all(components);
}

}  // namespace
