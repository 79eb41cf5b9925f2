// The program started from a components folder in which someone has planted DLLs under names that
// the program, or the system on its behalf, loads by name at start. With the DLL search restricted
// none of them runs; the same start without the restriction runs one, which shows that the loader
// does take these names from the program's folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// uxtheme.dll, and Wine's display driver winex11.drv, are loaded by name while the first window is
// made; Windows may load the other two at start.
constexpr const wchar_t* kPlantedNames[] = {L"uxtheme.dll", L"winex11.drv", L"dwmapi.dll", L"cryptbase.dll"};

TEST(PlantedLibraryTest, OnlyAStartWithoutTheRestrictedDllSearchRunsADllPlantedBesideTheProgram) {
  wchar_t self[MAX_PATH];
  const fs::path beside = fs::path(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH))).parent_path();
  for (const auto& [name, planted_dll_runs] : {std::pair{L"ebrona-installer.exe", false}, std::pair{L"unrestricted_program.exe", true}}) {
    SCOPED_TRACE(fs::path(name).string());
    const fs::path folder = fs::temp_directory_path() / ("ebrona-planted-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(folder);
    fs::copy_file(beside / name, folder / name);
    // Wine prefers its built-in DLLs to files of the same name; for this program, in the test's own
    // prefix only, it loads files first, as Windows, which has no built-in DLLs, always does.
    const std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + name + L"\\DllOverrides";
    for (const wchar_t* planted : kPlantedNames) {
      fs::copy_file(beside / "planted_library.dll", folder / planted);
      const std::wstring dll = fs::path(planted).extension() == L".dll" ? fs::path(planted).stem().wstring() : planted;
      RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), dll.c_str(), REG_SZ, L"native,builtin", sizeof(L"native,builtin"));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    std::wstring command_line = L"\"" + (folder / name).wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW((folder / name).c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.c_str(), &startup, &started));
    // Until the program shows its main window or a planted DLL has ended it.
    bool ended = false;
    for (const ULONGLONG give_up = GetTickCount64() + 60000; !(ended = WaitForSingleObject(started.hProcess, 20) == WAIT_OBJECT_0);) {
      const HWND window = FindWindowW(nullptr, L"Installera systemfiler för Ebronaprogrammen");
      DWORD owner = 0;
      if (window != nullptr && GetWindowThreadProcessId(window, &owner) && owner == started.dwProcessId && IsWindowVisible(window)) break;
      ASSERT_LT(GetTickCount64(), give_up);
    }
    std::string loaded;
    for (const wchar_t* planted : kPlantedNames) {
      if (fs::exists(folder / (std::wstring(planted) + L".loaded"))) loaded += fs::path(planted).string() + " ";
    }
    EXPECT_EQ(!loaded.empty(), planted_dll_runs) << loaded;
    EXPECT_EQ(ended, planted_dll_runs);
    TerminateProcess(started.hProcess, 0);
    WaitForSingleObject(started.hProcess, INFINITE);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    fs::remove_all(folder);
  }
}

}  // namespace
