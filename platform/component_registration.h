#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/component_image.h"
#include "platform/status.h"

namespace platform {

// What an installed component file says about itself, for checking its registration.
struct ComponentFacts {
  // 32 or 64, from the PE header: the registry view its registration is written to.
  unsigned bits = 0;
  // Its type library, or nothing when it has none that can be read.
  std::optional<TypeLibraryInfo> library;
};

// What the registry says of installed components, and what their files say of themselves.
class ComponentRegistration {
 public:
  virtual ~ComponentRegistration() = default;

  // Reads the component file at `path`. Fails when it cannot be read or is not a PE image.
  virtual Result<ComponentFacts> ReadFacts(const std::string& path) = 0;

  // The DLLs that the component at `path` imports and that are found neither in its own folder, nor
  // in a system folder, nor in the Windows folder, in the order of its import table. API-set names
  // (api-ms-win-*, ext-ms-*) are not files and never listed. Empty when the file cannot be read.
  virtual std::vector<std::string> MissingImports(const std::string& path) = 0;

  // Reads the registry as it is now; the two lookups below answer from this reading until the next.
  // Fails with the description text when it cannot be read.
  virtual Status ReadRegistry() = 0;

  // The default value of HKEY_CLASSES_ROOT\CLSID\`clsid`\InprocServer32 in the registry view of
  // `bits`-bit programs, environment variables expanded. Nothing when the key or its value is missing.
  virtual std::optional<std::string> ClassServer(const std::string& clsid, unsigned bits) = 0;

  // The file that HKEY_CLASSES_ROOT\TypeLib\{libid}\{major.minor}\{lcid}\win32 (win64 for `bits`
  // 64) names, environment variables expanded. Nothing when the key or its value is missing.
  virtual std::optional<std::string> TypeLibraryFile(const TypeLibraryInfo& library, unsigned bits) = 0;

  // Whether the registry value `registered` names the file at `path`: the same file, not the same
  // spelling. Quotation marks around it, a "\\?\" prefix, a trailing resource index ("\1") and a
  // bare file name (found in the system folders, as COM finds it) are allowed.
  virtual bool NamesFile(const std::string& registered, const std::string& path) = 0;
};

}  // namespace platform
