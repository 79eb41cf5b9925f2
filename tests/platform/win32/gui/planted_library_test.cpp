// The program started from a components folder in which someone has planted DLLs under names that
// the program, or the system on its behalf, loads by name at start. With the DLL search restricted
// none of them runs; the same start without the restriction runs one, which shows that the loader
// does take these names from the program's folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// uxtheme.dll, and Wine's display driver winex11.drv, are loaded by name while the first window is
// made; Windows may load the other two at start.
constexpr const wchar_t* kPlantedNames[] = {L"uxtheme.dll", L"winex11.drv", L"dwmapi.dll", L"cryptbase.dll"};

fs::path BesideThisProgram(const wchar_t* name) {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  return fs::path(program).parent_path() / name;
}

// Wine prefers its built-in DLLs to files of the same name. For the started program, and in the
// test's own Wine prefix only, it is told to load files first, as Windows, which has no built-in
// DLLs, always does; `false` removes that again.
void LoadFilesFirst(const wchar_t* program, bool files_first) {
  const std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + program + L"\\DllOverrides";
  if (!files_first) RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  for (const wchar_t* name : kPlantedNames) {
    const wchar_t order[] = L"native,builtin";
    const std::wstring dll = fs::path(name).extension() == L".dll" ? fs::path(name).stem().wstring() : name;
    if (files_first) RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), dll.c_str(), REG_SZ, order, sizeof(order));
  }
}

bool ShowsItsMainWindow(DWORD process) {
  HWND window = FindWindowW(nullptr, L"Installera systemfiler för Ebronaprogrammen");
  DWORD owner = 0;
  if (window != nullptr) GetWindowThreadProcessId(window, &owner);
  return owner == process && IsWindowVisible(window);
}

TEST(PlantedLibraryTest, OnlyAStartWithoutTheRestrictedDllSearchRunsADllPlantedBesideTheProgram) {
  struct Start {
    const wchar_t* program;
    bool planted_dll_runs;
  };
  for (const Start& start : {Start{L"ebrona-installer.exe", false}, Start{L"unrestricted_program.exe", true}}) {
    SCOPED_TRACE(fs::path(start.program).string());
    const fs::path folder = fs::temp_directory_path() / ("ebrona-planted-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path program = folder / start.program;
    fs::copy_file(BesideThisProgram(start.program), program);
    for (const wchar_t* name : kPlantedNames) fs::copy_file(BesideThisProgram(L"planted_library.dll"), folder / name);

    LoadFilesFirst(start.program, true);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    std::wstring command_line = L"\"" + program.wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.c_str(), &startup, &started));
    // Until the program shows its main window or a planted DLL has ended it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    bool ended = false;
    while (!(ended = WaitForSingleObject(started.hProcess, 20) == WAIT_OBJECT_0) && !ShowsItsMainWindow(started.dwProcessId)) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline);
    }
    std::string loaded;
    for (const wchar_t* name : kPlantedNames) {
      if (fs::exists(folder / (std::wstring(name) + L".loaded"))) loaded += fs::path(name).string() + " ";
    }
    EXPECT_EQ(!loaded.empty(), start.planted_dll_runs) << loaded;
    DWORD exit_code = 0;
    GetExitCodeProcess(started.hProcess, &exit_code);
    EXPECT_EQ(ended, start.planted_dll_runs) << "exit code " << exit_code;

    TerminateProcess(started.hProcess, 0);
    WaitForSingleObject(started.hProcess, INFINITE);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    LoadFilesFirst(start.program, false);
    fs::remove_all(folder);
  }
}

}  // namespace
