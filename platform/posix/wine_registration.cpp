#include "platform/posix/wine_registration.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/posix/detached_spawn.h"
#include "platform/posix/error_text.h"
#include "platform/posix/path_search.h"
#include "platform/posix/posix_watched_process.h"
#include "platform/posix/reg_export.h"

extern char** environ;

namespace platform::posix {
namespace {

constexpr std::chrono::seconds kExportWait{60};
constexpr const char* kRoot = "hkey_classes_root\\";
constexpr const char* k32BitView = "hkey_classes_root\\wow6432node\\";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", value);
  return text;
}

// This process's environment for Wine in `prefix`, without Wine's debugging output.
std::vector<std::string> WineEnvironment(const std::string& prefix) {
  std::vector<std::string> environment;
  for (char** entry = environ; entry && *entry; ++entry) {
    const std::string text = *entry;
    if (!text.starts_with("WINEDEBUG=") && !(text.starts_with("WINEPREFIX=") && !prefix.empty())) {
      environment.push_back(text);
    }
  }
  environment.push_back("WINEDEBUG=-all");
  if (!prefix.empty()) environment.push_back("WINEPREFIX=" + prefix);
  return environment;
}

}  // namespace

Status WineRegistration::ReadRegistry() {
  const Result<std::string> wine = FindOnPath("wine");
  if (!wine.ok()) return Status::Failure("wine: " + wine.status().text());
  const std::string folder = "c:\\windows\\temp";
  const std::string windows_path = folder + "\\ebrona-registry-" + std::to_string(getpid()) + ".reg";
  const Result<std::string> host_folder = drives_.ToHost(folder);
  const Result<std::string> host_path = drives_.ToHost(windows_path);
  if (!host_folder.ok() || !host_path.ok()) return host_path.ok() ? host_folder.status() : host_path.status();
  if (mkdir(host_folder.value().c_str(), 0755) != 0 && errno != EEXIST) return ErrorFailure(errno);

  pid_t child = 0;
  const Status started = SpawnChild(wine.value(), {wine.value(), "reg", "export", "HKCR", windows_path, "/y"},
                                    WineEnvironment(drives_.Prefix()), child);
  if (!started.ok()) return started;
  const std::optional<std::uint32_t> status = PosixWatchedProcess(child).WaitForExit(kExportWait);
  std::ifstream file(host_path.value(), std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  file.close();
  unlink(host_path.value().c_str());
  if (!status) return Status::Failure("reg export svarade inte inom 60 sekunder");
  if (*status != 0) return Status::Failure("reg export avslutades med kod " + std::to_string(*status));

  values_ = DefaultValues(bytes.str());
  const auto view = values_.lower_bound(k32BitView);
  separate_32bit_view_ = view != values_.end() && view->first.starts_with(k32BitView);
  return Status::Ok();
}

std::optional<std::string> WineRegistration::Value(const std::string& key, unsigned bits) const {
  const std::string root = bits == 32 && separate_32bit_view_ ? k32BitView : kRoot;
  const auto found = values_.find(root + Lower(key));
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

std::optional<std::string> WineRegistration::ClassServer(const std::string& clsid, unsigned bits) {
  return Value("clsid\\" + clsid + "\\inprocserver32", bits);
}

std::optional<std::string> WineRegistration::TypeLibraryFile(const TypeLibraryInfo& library, unsigned bits) {
  const std::string key = "typelib\\" + library.libid + "\\" + Hex(library.major) + "." + Hex(library.minor) + "\\" +
                          Hex(library.lcid) + (bits == 64 ? "\\win64" : "\\win32");
  // The type libraries are shared by both views on current Windows, and kept apart on older ones.
  const std::optional<std::string> shared = Value(key, 64);
  return shared ? shared : Value(key, bits);
}

}  // namespace platform::posix
