#pragma once

#include "platform/image_registration.h"

namespace platform::win32 {

// The registry through the registry functions, in the view of the component's bitness whatever
// the bitness of this program; the files as every host reads them.
class Win32Registration : public ImageRegistration {
 public:
  explicit Win32Registration(FileSystem& files);

  // The registry is asked at each lookup: there is nothing to read ahead.
  Status ReadRegistry() override { return Status::Ok(); }
  std::optional<std::string> ClassServer(const std::string& clsid, unsigned bits) override;
  std::optional<std::string> TypeLibraryFile(const TypeLibraryInfo& library, unsigned bits) override;
};

}  // namespace platform::win32
