// The reader of component images and type libraries, on the stand-in components the build makes
// and on damaged copies of them.
#include "platform/component_image.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/file_system_conformance.h"
#include "tests/support/pe_image.h"

namespace {

std::string StandIn(unsigned bits) { return ReadFile("stand-ins/probe-" + std::to_string(bits) + ".dll"); }

// What the reader makes of an image, in short: bits, imports, then the type library's libid,
// version, lcid and creatable classes, or "-" where it reads nothing.
std::string Summary(std::string_view bytes) {
  const auto image = platform::ReadComponentImage(bytes);
  if (!image) return "-";
  std::string text = std::to_string(image->bits);
  for (const std::string& dll : image->imported_dlls) text += " " + dll;
  const auto library = platform::ReadTypeLibrary(image->type_library);
  if (!library) return text + " -";
  text += " " + library->libid + " " + std::to_string(library->major) + "." + std::to_string(library->minor) + " " +
          std::to_string(library->lcid);
  for (const std::string& clsid : library->creatable_classes) text += " " + clsid;
  return text;
}

const std::string kImports = " KERNEL32.dll msvcrt.dll";
const std::string kLibrary = " {6E3F4A10-2B7C-4D5E-9A81-3C4B5D6E7F80} 2.5 1053 {6E3F4A12-2B7C-4D5E-9A81-3C4B5D6E7F80}";

TEST(ComponentImage, StandInsReadAsBuiltAndPrefixesAsNothingOrAsTheWhole) {
  for (const unsigned bits : {32u, 64u}) EXPECT_EQ(Summary(StandIn(bits)), std::to_string(bits) + kImports + kLibrary);
  const std::string bytes = StandIn(64), tlb = platform::ReadComponentImage(bytes)->type_library;
  for (std::size_t length = 0; length < bytes.size(); length += length < 1024 ? 1 : 61) {
    const std::string summary = Summary(std::string_view(bytes).substr(0, length));
    EXPECT_TRUE(summary.find('{') == std::string::npos || summary == "64" + kImports + kLibrary) << length;
  }
  for (std::size_t length = 0; length < tlb.size(); ++length) {
    const auto library = platform::ReadTypeLibrary(std::string_view(tlb).substr(0, length));
    EXPECT_TRUE(!library || library->creatable_classes.size() == 1) << length;
  }
  std::string lfanew_outside = fake::PeImage();
  lfanew_outside[0x3C] = 0x41;
  for (const std::string& head : {std::string(), std::string("MZ"), fake::PeImage().substr(0, 0x43), lfanew_outside,
                                  fake::PeImage().replace(0x40, 2, "NE")}) {
    EXPECT_FALSE(platform::StartsAsPeImage(head)) << head.size();
  }
}

TEST(ComponentImage, CorruptedOffsetsAndCountsAreRefused) {
  const std::string bytes = StandIn(64), none = "64" + kImports + " -";
  const auto u32 = [&](std::size_t at) {
    std::uint32_t value;
    return std::memcpy(&value, bytes.data() + at, 4), value;
  };
  const std::size_t pe = u32(0x3C), directories = pe + 24 + 112;
  const std::size_t tlb = bytes.find(platform::ReadComponentImage(bytes)->type_library);
  const std::size_t segments = tlb + 0x54 + 4 * u32(tlb + 0x20) + ((u32(tlb + 0x14) & 0x100) ? 4 : 0);
  const std::tuple<std::size_t, int, std::uint32_t, std::string> cases[] = {  // where, width, value, summary
      {0x3C, 4, 0xFFFFFFF0, "-"},                              // e_lfanew far past the end
      {pe + 24, 2, 0x30B, "-"},                                // an unknown optional header
      {pe + 6, 2, 97, "-"},                                    // more sections than the loader takes
      {pe + 20, 2, 0xFFFF, "-"},                               // the optional header past the end
      {directories + 8, 4, 0x7FFFFFFF, "64" + kLibrary},       // imports outside every section
      {directories + 16, 4, 0xFFFFFFF8, none},                 // resources outside every section
      {directories - 4, 4, 0, "64 -"},                         // no data directories
      {tlb, 4, 0x47544C53, none},                              // another magic
      {tlb + 0x20, 4, 0x7FFFFFFF, none},                       // more typeinfos than the table holds
      {tlb + 0x08, 4, 0xFFFFFFF8, none},                       // the libid past the GUID table
      {segments, 4, 0xFFFFFF00, none},                         // the typeinfo table past the end
      {segments + 5 * 16 + 4, 4, 0xFFFFFFF0, none},            // the GUID table longer than the library
      {segments + 12, 4, 0, none}};                            // a segment directory without its markers
  for (const auto& [at, width, value, expected] : cases) {
    std::string damaged = bytes;
    std::memcpy(damaged.data() + at, &value, static_cast<std::size_t>(width));
    EXPECT_EQ(Summary(damaged), expected) << std::hex << at;
  }
}

}  // namespace
