#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench/child_run.h"
#include "engine/installation_run.h"
#include "engine/installer_state.h"
#include "platform/system.h"

// A whole installation of eight new 1 MiB components through the real platform, against
// `cp --preserve=timestamps` of the same files into an empty folder, in a temporary Wine-style
// prefix. The prefix has no regsvr32.exe, so the registration pass only tests for it. Each round
// starts from an empty destination; the medians of `rounds` rounds (default 15) are compared.
namespace {

namespace fs = std::filesystem;

struct AllTicked : engine::RunHost {
  std::int16_t CheckValue(int) const override { return 1; }
  void ShowWarning(const std::string& prompt, const std::string& title) override {
    std::fprintf(stderr, "copy_bench: %s: %s\n", title.c_str(), prompt.c_str());
    std::exit(1);
  }
};

void WriteRandomFile(const fs::path& path, std::mt19937& random) {
  std::vector<char> data(1 << 20);
  for (char& byte : data) byte = static_cast<char>(random());
  // A component starts as a PE image: "MZ", and at the offset its DOS header gives, "PE\0\0".
  const char head[] = {'M', 'Z'}, lfanew[] = {0x40, 0, 0, 0}, signature[] = {'P', 'E', 0, 0};
  std::copy(std::begin(head), std::end(head), data.begin());
  std::copy(std::begin(lfanew), std::end(lfanew), data.begin() + 0x3C);
  std::copy(std::begin(signature), std::end(signature), data.begin() + 0x40);
  std::ofstream(path, std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
}

void Empty(const fs::path& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names) fs::remove(folder / name);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
  std::string pattern = (fs::temp_directory_path() / "ebrona-copy-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path root = pattern;
  const fs::path prefix = root / "prefix", system_folder = prefix / "drive_c/windows/sysWOW64";
  const fs::path components = root / "components", cp_target = root / "cp-target";
  fs::create_directories(prefix / "dosdevices");
  fs::create_directories(system_folder);
  fs::create_directories(components);
  fs::create_directories(cp_target);
  fs::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
  std::ofstream(system_folder / "msvbvm60.dll") << "marker";

  engine::InstallerState state;
  engine::FillCatalogue(state);
  state.ComponentCount = engine::kInstalledComponentCount;
  std::vector<std::string> names(state.ComponentCatalogue.begin() + 1,
                                 state.ComponentCatalogue.begin() + 1 + state.ComponentCount);
  std::mt19937 random(20240301);
  for (const std::string& name : names) WriteRandomFile(components / name, random);

  setenv("WINEPREFIX", prefix.c_str(), 1);
  fs::current_path(components);
  platform::System& system = platform::NativeSystem();
  AllTicked host;

  std::vector<std::string> cp{"cp", "--preserve=timestamps"};
  cp.insert(cp.end(), names.begin(), names.end());
  cp.push_back(cp_target.string());

  // The installation flushes every copy to disk before it replaces a file, which plain cp does
  // not: a second comparison adds `sync` of the copied files to cp, the same work done durably.
  std::vector<std::string> sync{"sync", "--data"};
  for (const std::string& name : names) sync.push_back((cp_target / name).string());

  std::vector<double> install_seconds, cp_seconds, cp_sync_seconds;
  for (int i = 0; i < rounds; ++i) {
    Empty(system_folder, names);
    const auto start = std::chrono::steady_clock::now();
    const std::optional<std::string> report =
        engine::RunInstallation(state, "c:\\windows\\sysWOW64\\", "", host, system);
    install_seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!report || report->find("Inlagd") == std::string::npos || !fs::exists(system_folder / names.back())) {
      std::fprintf(stderr, "copy_bench: the installation did not copy the files:\n%s\n", report ? report->c_str() : "");
      return 1;
    }

    Empty(cp_target, names);
    const bench::ChildRun run = bench::RunChild(cp);
    if (run.exit_status != 0) return 1;
    cp_seconds.push_back(run.seconds);
    const bench::ChildRun flushed = bench::RunChild(sync);
    if (flushed.exit_status != 0) return 1;
    cp_sync_seconds.push_back(run.seconds + flushed.seconds);
  }
  fs::current_path(root.parent_path());
  fs::remove_all(root);

  const double install = bench::Median(install_seconds), copy = bench::Median(cp_seconds);
  const double copy_flushed = bench::Median(cp_sync_seconds);
  std::printf("eight 1 MiB components in %s, %d rounds\n", fs::temp_directory_path().c_str(), rounds);
  std::printf("median: installation %.2f ms, cp --preserve=timestamps %.2f ms, ratio %.2f (goal <= 1.50)\n",
              install * 1000, copy * 1000, install / copy);
  std::printf("median: cp --preserve=timestamps then sync --data of the copies %.2f ms, ratio %.2f\n",
              copy_flushed * 1000, install / copy_flushed);
  return 0;
}
