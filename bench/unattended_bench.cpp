#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/child_run.h"
#include "engine/installer_state.h"

// Start to exit of an unattended run ("/S") whose eight components are all up to date, against
// the windowed program's start to its main window shown, each started `runs` times in turn
// (default 21) in a temporary Wine-style prefix; the medians are compared. The windowed program
// uses the display in DISPLAY, or Qt's offscreen platform when there is none.
int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const int runs = argc > 1 ? std::atoi(argv[1]) : 21;
  if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  std::string pattern = (fs::temp_directory_path() / "ebrona-unattended-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path root = pattern, prefix = root / "prefix", drive_c = prefix / "drive_c";
  const fs::path system_folder = drive_c / "windows/system32", components = drive_c / "komponenter";
  fs::create_directories(prefix / "dosdevices");
  fs::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
  fs::create_directories(system_folder);
  fs::create_directories(components);
  std::ofstream(system_folder / "msvbvm60.dll") << "marker";
  std::ofstream(system_folder / "regsvr32.exe") << "never started: nothing is copied";
  engine::InstallerState state;
  engine::FillCatalogue(state);
  const auto day = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
  for (int i = 1; i <= engine::kInstalledComponentCount; ++i) {
    for (const fs::path& folder : {system_folder, components}) {
      std::ofstream(folder / state.ComponentCatalogue[i]) << "component " << i;
      fs::last_write_time(folder / state.ComponentCatalogue[i], day);
    }
  }
  setenv("WINEPREFIX", prefix.c_str(), 1);

  const std::string folder = bench::OwnFolder();
  const std::vector<std::string> unattended = {folder + "/ebrona-installer", "/S", "/SOURCE=c:\\komponenter"};
  const std::vector<std::string> windowed = {folder + "/startup_form2_probe"};
  std::vector<double> unattended_seconds, windowed_seconds;
  for (int i = 0; i < runs; ++i) {
    for (auto [command, seconds] : {std::pair{&unattended, &unattended_seconds}, {&windowed, &windowed_seconds}}) {
      const bench::ChildRun run = bench::RunChild(*command);
      if (run.exit_status != 0) {
        std::fprintf(stderr, "unattended_bench: %s failed (status %d)\n", (*command)[0].c_str(), run.exit_status);
        return 1;
      }
      seconds->push_back(run.seconds);
    }
  }
  fs::remove_all(root);

  const double unattended_time = bench::Median(unattended_seconds), windowed_time = bench::Median(windowed_seconds);
  std::printf("unattended run to exit, eight components up to date, median: %.1f ms\n", unattended_time * 1000);
  std::printf("windowed start to main window shown, median: %.1f ms\n", windowed_time * 1000);
  std::printf("ratio %.2f (goal <= 0.25), %d runs each\n", unattended_time / windowed_time, runs);
  return 0;
}
