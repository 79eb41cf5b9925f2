// Type libraries in the MSFT format that MIDL and widl write, read from their bytes: the header,
// the segment directory, the typeinfo table and the GUID table. Offsets and counts come from the
// file and are checked before use.
#include <cstdio>

#include "platform/component_image.h"
#include "platform/little_endian_bytes.h"

namespace platform {
namespace {

constexpr std::uint32_t kMagic = 0x5446534D;  // "MSFT"
constexpr std::uint64_t kHeaderSize = 0x54;
constexpr std::uint32_t kHelpDllFlag = 0x100;  // the header is followed by one more field
constexpr std::uint64_t kSegmentSize = 16, kTypeInfoSize = 0x64, kGuidSize = 16;
// The segment directory's entries in order: the typeinfo table is the first, the GUID table the sixth.
constexpr std::uint64_t kTypeInfoSegment = 0, kImportInfoSegment = 1, kGuidSegment = 5;
// Every segment entry ends with this marker; a directory without it is not one.
constexpr std::uint32_t kSegmentMarker = 0x0F;
constexpr std::uint32_t kCoclass = 5, kCanCreate = 0x2;

struct Segment {
  std::uint64_t offset, length;
};

// Segment `index` of the directory at `directory`; nothing when its marker is wrong or it does not
// lie inside the bytes. An offset of -1 stands for an empty segment.
std::optional<Segment> ReadSegment(const LittleEndianBytes& bytes, std::uint64_t directory, std::uint64_t index) {
  const std::uint64_t at = directory + index * kSegmentSize;
  const auto offset = bytes.U32(at), length = bytes.U32(at + 4), marker = bytes.U32(at + 12);
  if (!offset || !length || !marker || *marker != kSegmentMarker) return std::nullopt;
  if (*offset == 0xFFFFFFFFu) return Segment{0, 0};
  if (!bytes.Holds(*offset, *length)) return std::nullopt;
  return Segment{*offset, *length};
}

// The GUID at `position` in the GUID table, in registry form; nothing when it lies outside the table.
std::optional<std::string> GuidAt(const LittleEndianBytes& bytes, const Segment& table, std::uint32_t position) {
  if (position > table.length || table.length - position < kGuidSize) return std::nullopt;
  const std::uint64_t at = table.offset + position;
  const auto data1 = bytes.U32(at);
  const auto data2 = bytes.U16(at + 4), data3 = bytes.U16(at + 6);
  const auto data4 = bytes.Part(at + 8, 8);
  if (!data1 || !data2 || !data3 || !data4) return std::nullopt;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>((*data4)[i])); };
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", unsigned{*data1},
                unsigned{*data2}, unsigned{*data3}, byte(0), byte(1), byte(2), byte(3), byte(4), byte(5), byte(6), byte(7));
  return std::string(text);
}

}  // namespace

std::optional<TypeLibraryInfo> ReadTypeLibrary(std::string_view library) {
  const LittleEndianBytes bytes(library);
  const auto magic = bytes.U32(0), libid_at = bytes.U32(0x08), lcid = bytes.U32(0x10), flags = bytes.U32(0x14),
             version = bytes.U32(0x18), typeinfo_count = bytes.U32(0x20);
  if (!magic || *magic != kMagic || !libid_at || !lcid || !flags || !version || !typeinfo_count) return std::nullopt;
  // The header is followed by the help DLL's field, when there is one, and one offset per typeinfo.
  const std::uint64_t directory = kHeaderSize + ((*flags & kHelpDllFlag) ? 4 : 0) + std::uint64_t{*typeinfo_count} * 4;
  const auto typeinfos = ReadSegment(bytes, directory, kTypeInfoSegment);
  const auto guids = ReadSegment(bytes, directory, kGuidSegment);
  if (!typeinfos || !guids || !ReadSegment(bytes, directory, kImportInfoSegment)) return std::nullopt;
  if (std::uint64_t{*typeinfo_count} * kTypeInfoSize > typeinfos->length) return std::nullopt;

  TypeLibraryInfo info;
  auto libid = GuidAt(bytes, *guids, *libid_at);
  if (!libid) return std::nullopt;
  info.libid = std::move(*libid);
  info.major = *version & 0xFFFF;
  info.minor = *version >> 16;
  info.lcid = *lcid;
  for (std::uint64_t i = 0; i < *typeinfo_count; ++i) {
    const std::uint64_t at = typeinfos->offset + i * kTypeInfoSize;
    const auto kind = bytes.U32(at), guid_at = bytes.U32(at + 0x2C), type_flags = bytes.U32(at + 0x30);
    if (!kind || !guid_at || !type_flags) return std::nullopt;
    if ((*kind & 0xF) != kCoclass || !(*type_flags & kCanCreate)) continue;
    auto clsid = GuidAt(bytes, *guids, *guid_at);
    if (!clsid) return std::nullopt;
    info.creatable_classes.push_back(std::move(*clsid));
  }
  return info;
}

}  // namespace platform
