// The file system suite on Windows: temporary folders under the user's temporary folder.
#include <windows.h>

#include <cctype>

#include "platform/system.h"
#include "platform/win32/text_conversion.h"
#include "tests/platform/file_system_conformance.h"

namespace fs = std::filesystem;

namespace native {

fs::path NewTempFolder() {
  static int counter = 0;
  const fs::path folder = fs::temp_directory_path() / ("ebrona-win32-" + std::to_string(GetCurrentProcessId()) + "-" +
                                                       std::to_string(++counter));
  fs::create_directories(folder);
  return folder;
}
platform::FileSystem& Files() { return platform::NativeSystem().files; }
std::string WindowsPath(const fs::path& host) {
  std::string path = platform::win32::Utf8FromWide(host.wstring());
  path[0] = static_cast<char>(std::tolower(path[0]));
  return path;
}
// The system's texts depend on its language; any text will do.
std::string FailureText(int) { return ""; }

std::vector<std::string> LeftoverNames(const std::string& name) {
  return {"~" + name + ".ebrona-12-3.tmp",  "~" + name + ".ebrona-12-3.tmp.bak", "~källa å.ocx.ebrona-12-3.tmp",
          "~" + name + ".ebrona-1a-3.tmp", name + ".ebrona-12-3.tmp",          "~" + name + ".ebrona-7-7.tmp"};
}

// A copy under way holds its temporary file open without sharing.
std::shared_ptr<void> HoldAsCopyUnderWay(const fs::path& file) {
  return {CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr), CloseHandle};
}

// A destination that another program has open without delete sharing is tried by the whole
// program's test, which also checks the text of the failure.
std::vector<CopyFailure> PlatformCopyFailures(const fs::path&, const std::string&) { return {}; }

}  // namespace native
