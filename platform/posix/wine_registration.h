#pragma once

#include <map>
#include <string>

#include "platform/image_registration.h"
#include "platform/posix/drive_mapping.h"

namespace platform::posix {

// The registry of the Wine prefix as Wine sees it: HKEY_CLASSES_ROOT exported once per reading by
// Wine's own `reg` tool, started by the `wine` on PATH that also starts the registration tool, so
// that the answer is the running wineserver's, not that of the prefix's files, which may lag behind.
class WineRegistration : public ImageRegistration {
 public:
  WineRegistration(FileSystem& files, const DriveMapping& drives)
      : ImageRegistration(files, "c:\\windows"), drives_(drives) {}

  Status ReadRegistry() override;
  std::optional<std::string> ClassServer(const std::string& clsid, unsigned bits) override;
  std::optional<std::string> TypeLibraryFile(const TypeLibraryInfo& library, unsigned bits) override;

 private:
  // The default value of `key` below HKEY_CLASSES_ROOT in the view of `bits`-bit programs.
  std::optional<std::string> Value(const std::string& key, unsigned bits) const;

  const DriveMapping& drives_;
  std::map<std::string, std::string> values_;
  // Whether the prefix keeps a separate view for 32-bit programs (a 64-bit prefix).
  bool separate_32bit_view_ = false;
};

}  // namespace platform::posix
