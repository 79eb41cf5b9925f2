#include <dlfcn.h>

#include <cstdio>
#include <filesystem>

#include "app/windowed.h"

namespace app {
namespace {

// The entry point `name` of the window module beside the program, or null after a line on
// standard error. The module is loaded on first use and stays loaded.
void* EntryPoint(const char* name) {
  static void* const module = [] {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string path = (self.parent_path() / "ebrona-installer-windows.so").string();
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
