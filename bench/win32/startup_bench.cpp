#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Time from process start to the main window visible and idle, against a bare Win32 window, each
// started `runs` times in turn (default 21) from the folder of this program; the medians are
// compared, and the median of the ratios within pairs. Under Wine, run it in the prefix whose
// start-up is to be measured:
//   xvfb-run -a scripts/wine-run.sh build-win64/startup_bench_win32.exe
namespace {

struct Search {
  DWORD process;
  bool found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !IsWindowVisible(window)) return TRUE;
  search->found = true;
  return FALSE;
}

// Starts `program` and returns the seconds until one of its top-level windows is visible and the
// program waits for input (its first paint done), then ends it; negative when it fails.
double SecondsToShown(const std::wstring& program) {
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const auto start = std::chrono::steady_clock::now();
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  double seconds = -1;
  for (;;) {
    Search search{process.dwProcessId, false};
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      WaitForInputIdle(process.hProcess, 10000);
      seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;  // ended without a window
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(30)) break;
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  wchar_t own[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
  std::wstring folder(own, length);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  struct Probe {
    std::wstring program;
    std::vector<double> seconds;
  };
  Probe program{folder + L"ebrona-installer.exe", {}};
  Probe bare{folder + L"startup_bare_win32.exe", {}};
  // One start of each first, unmeasured: the first start in a prefix also starts Wine's services.
  // Then pairs, in alternating order; the ratio within each pair, taken a moment apart, is the
  // steadiest on a busy machine.
  std::vector<double> ratios;
  for (int i = -1; i < runs; ++i) {
    Probe* order[2] = {&program, &bare};
    if (i % 2 != 0) std::swap(order[0], order[1]);
    for (Probe* probe : order) {
      const double seconds = SecondsToShown(probe->program);
      if (seconds < 0) {
        std::fprintf(stderr, "startup_bench_win32: %ls showed no window\n", probe->program.c_str());
        return 1;
      }
      if (i >= 0) probe->seconds.push_back(seconds);
    }
    if (i >= 0) ratios.push_back(program.seconds.back() / bare.seconds.back());
  }
  std::printf("%d runs each\n", runs);
  std::printf("start to shown, median: main window %.1f ms, bare window %.1f ms\n", Median(program.seconds) * 1000,
              Median(bare.seconds) * 1000);
  std::printf("ratio, median of the pairs: %.2f (goal <= 1.20)\n", Median(ratios));
  return 0;
}
