#include <dlfcn.h>

#include <cstdio>
#include <filesystem>

#include "app/windowed.h"

namespace app {
namespace {

// The window module: beside the program (in the build folder, or the two files copied together),
// else in the program's library folder (/usr/lib/x86_64-linux-gnu/ebrona-installer/ for
// /usr/bin/ebrona-installer).
// The folder is the program's real one, symbolic links followed.
std::string ModulePath() {
  constexpr const char* kModule = "ebrona-installer-windows.so";
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
  const std::filesystem::path beside = folder / kModule, installed = folder / EBRONA_MODULE_FOLDER / kModule;
  return (std::filesystem::exists(beside, error) || !std::filesystem::exists(installed, error) ? beside : installed)
      .string();
}

// The entry point `name` of the window module, or null after a line on standard error. The module
// is loaded on first use and stays loaded.
void* EntryPoint(const char* name) {
  static void* const module = [] {
    const std::string path = ModulePath();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) std::fprintf(stderr, "ebrona-installer: fönstren kan inte läsas in: %s\n", dlerror());
    return handle;
  }();
  return module ? dlsym(module, name) : nullptr;
}

}  // namespace

int RunWindowed(const Choices& choices) {
  using Run = int (*)(const Choices*);
  const auto run = reinterpret_cast<Run>(EntryPoint("ebrona_run_windowed"));
  return run ? run(&choices) : 1;
}

void ShowInWindow(const std::string& text, platform::MessageIcon icon) {
  using Show = void (*)(const std::string*, platform::MessageIcon);
  if (const auto show = reinterpret_cast<Show>(EntryPoint("ebrona_show_in_window"))) show(&text, icon);
}

}  // namespace app
