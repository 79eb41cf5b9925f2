#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/child_run.h"
#include "engine/installer_state.h"

#ifdef EBRONA_STAND_INS
// Start to exit of an unattended run ("/S") over eight up-to-date components whose registrations
// are all checked, in a real Wine prefix with wineserver running, against the same run over eight
// up-to-date files without a type library, where there is nothing to check and the registry is not
// read: the run as it was before the check. Each is started `runs` times in turn; the medians are
// compared. Skipped when Wine cannot be started.
int CheckedRunRatio(int runs) {
  namespace fs = std::filesystem;
  if (std::system(EBRONA_SOURCE "/scripts/wine.sh --version >/dev/null 2>&1") != 0) {
    std::printf("checked registrations: skipped, Wine cannot be started\n");
    return 0;
  }
  std::string pattern = (fs::temp_directory_path() / "ebrona-checked-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path root = pattern, prefix = root / "prefix", drive_c = prefix / "drive_c";
  fs::create_directories(root / "bin");
  std::ofstream(root / "bin/wine") << "#!/bin/sh\nexec " EBRONA_SOURCE "/scripts/wine.sh \"$@\"\n";
  fs::permissions(root / "bin/wine", fs::perms(0755));
  setenv("PATH", (root.string() + "/bin:" + std::getenv("PATH")).c_str(), 1);
  setenv("WINEPREFIX", prefix.c_str(), 1);
  setenv("WINEARCH", "win64", 1);
  setenv("WINEDEBUG", "-all", 1);
  // Wine would load its own riched32.dll, which has no DllRegisterServer, in place of the file.
  setenv("WINEDLLOVERRIDES", "riched32=n", 1);
  if (std::system("(wine wineboot -i; wineserver -p 600) >/dev/null 2>&1") == -1) return 1;
  const fs::path checked = drive_c / "kontrollerade", plain = drive_c / "okontrollerade", other = drive_c / "windows/system";
  fs::create_directories(checked);
  fs::create_directories(plain);
  fs::create_directories(other);
  fs::copy_file(drive_c / "windows/system32/regsvr32.exe", other / "regsvr32.exe", fs::copy_options::overwrite_existing);
  engine::InstallerState state;
  engine::FillCatalogue(state);
  const auto day = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
  for (int i = 1; i <= engine::kInstalledComponentCount; ++i) {
    const std::string name = state.ComponentCatalogue[i];
    fs::copy_file(fs::path(EBRONA_STAND_INS) / ("bench_component_" + std::to_string(i) + "-64.dll"), checked / name);
    for (const fs::path& folder : {plain, other}) {
      std::ofstream(folder / name) << "component " << i;
      fs::last_write_time(folder / name, day);
    }
  }
  const std::string program = bench::OwnFolder() + "/ebrona-installer";
  // The first run installs the eight and registers them, over the prefix's own riched32.dll too.
  const std::vector<std::string> install = {program, "/S", "/FORCE", "/DIR=c:\\windows\\system32", "/SOURCE=c:\\kontrollerade",
                                            "/LOG=c:\\logg.txt"};
  const std::vector<std::string> with_check = {program, "/S", "/DIR=c:\\windows\\system32", "/SOURCE=c:\\kontrollerade",
                                               "/LOG=c:\\logg.txt"};
  const std::vector<std::string> without = {program, "/S", "/DIR=c:\\windows\\system", "/SOURCE=c:\\okontrollerade"};
  int status = bench::RunChild(install).exit_status;
  std::vector<double> with_seconds, without_seconds;
  for (int i = 0; i < runs && status == 0; ++i) {
    for (auto [command, seconds] : {std::pair{&with_check, &with_seconds}, {&without, &without_seconds}}) {
      const bench::ChildRun run = bench::RunChild(*command);
      if (run.exit_status != 0) status = run.exit_status;
      seconds->push_back(run.seconds);
    }
  }
  (void)std::system("wineserver -k >/dev/null 2>&1");
  std::ifstream log(drive_c / "logg.txt");
  const std::string logged((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  fs::remove_all(root);
  if (status != 0) {
    std::fprintf(stderr, "unattended_bench: a checked run failed (status %d)\n%s", status, logged.c_str());
    return 1;
  }
  const double with_time = bench::Median(with_seconds), without_time = bench::Median(without_seconds);
  std::printf("unattended run to exit, eight up-to-date components checked in the registry, median: %.1f ms\n",
              with_time * 1000);
  std::printf("the same run with nothing to check, median: %.1f ms\n", without_time * 1000);
  std::printf("ratio %.2f (goal <= 1.25), %d runs each\n", with_time / without_time, runs);
  return 0;
}
#endif

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
#ifdef EBRONA_STAND_INS
  return CheckedRunRatio(runs);
#else
  return 0;
#endif
}
