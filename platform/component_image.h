#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What a component file (a DLL or an OCX, a PE image) says about itself, read from its bytes alone,
// the same on every platform. The bytes are untrusted: every offset, size and count is checked
// before use, and anything out of bounds makes the image, or the part that holds it, unreadable.
struct ComponentImage {
  // 32 for a PE32 image, 64 for PE32+.
  unsigned bits = 0;
  // The DLL names of the import directory, as written there, in the order they stand.
  std::vector<std::string> imported_dlls;
  // The bytes of the TYPELIB resource with ID 1 (any language), or empty when there is none.
  std::string type_library;
};

// Whether `head`, the first bytes of a file, starts with a DOS header ("MZ") whose e_lfanew points,
// inside `head`, at a PE signature ("PE\0\0"). Reading the first 4096 bytes of a file is enough for
// any component; an empty file is never one.
bool StartsAsPeImage(std::string_view head);

// Reads the image `bytes`. Nothing when they are not a PE image that can be read as far as the
// section table; an import directory or a resource directory that cannot be read leaves its
// field empty.
std::optional<ComponentImage> ReadComponentImage(std::string_view bytes);

// What a type library (MSFT format) says of the component's classes.
struct TypeLibraryInfo {
  // The library's GUID in registry form: "{0E59F1D2-1FBE-11D0-8FF2-00A0D10038BC}", upper case.
  std::string libid;
  unsigned major = 0, minor = 0;
  std::uint32_t lcid = 0;
  // The CLSIDs of the coclasses that can be created (TYPEFLAG_FCANCREATE), in registry form, in the
  // order the library lists them.
  std::vector<std::string> creatable_classes;
};

// Reads a type library in the MSFT format that MIDL and widl write. Nothing when `bytes` are not one
// or cannot be read as far as the coclasses' GUIDs.
std::optional<TypeLibraryInfo> ReadTypeLibrary(std::string_view bytes);

}  // namespace platform
