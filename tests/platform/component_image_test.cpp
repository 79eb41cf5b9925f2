// The reader of component images and type libraries, on the stand-in components the build makes
// and on damaged copies of them.
#include "platform/component_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include "tests/support/pe_image.h"

namespace {

std::string StandIn(unsigned bits) {
  std::ifstream in("stand-ins/probe-" + std::to_string(bits) + ".dll", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t U32At(const std::string& bytes, std::size_t at) {
  std::uint32_t value;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}
void SetU32(std::string& bytes, std::size_t at, std::uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); }
void SetU16(std::string& bytes, std::size_t at, std::uint16_t value) { std::memcpy(bytes.data() + at, &value, 2); }

TEST(ComponentImageTest, StandInsReadAsBuilt) {
  for (const unsigned bits : {32u, 64u}) {
    const std::string bytes = StandIn(bits);
    ASSERT_TRUE(platform::StartsAsPeImage(std::string_view(bytes).substr(0, 4096))) << bits;
    const auto image = platform::ReadComponentImage(bytes);
    ASSERT_TRUE(image) << bits;
    EXPECT_EQ(image->bits, bits);
    EXPECT_EQ(image->imported_dlls, (std::vector<std::string>{"KERNEL32.dll", "msvcrt.dll"})) << bits;
    const auto library = platform::ReadTypeLibrary(image->type_library);
    ASSERT_TRUE(library) << bits;
    EXPECT_EQ(library->libid, "{6E3F4A10-2B7C-4D5E-9A81-3C4B5D6E7F80}");
    EXPECT_EQ(std::make_tuple(library->major, library->minor, library->lcid), std::make_tuple(2u, 5u, 0x41Du));
    EXPECT_EQ(library->creatable_classes, std::vector<std::string>{"{6E3F4A12-2B7C-4D5E-9A81-3C4B5D6E7F80}"});
  }
}

TEST(ComponentImageTest, StartsAsPeImageOnlyWithBothSignaturesInside) {
  std::string lfanew_past_end = fake::PeImage();
  SetU32(lfanew_past_end, 0x3C, 0x42);
  std::string lfanew_wraps = fake::PeImage();
  SetU32(lfanew_wraps, 0x3C, 0xFFFFFFFE);
  const std::pair<std::string, bool> cases[] = {
      {"", false}, {"MZ", false}, {fake::PeImage().substr(0, 0x43), false}, {lfanew_past_end, false},
      {lfanew_wraps, false}, {"ZM" + fake::PeImage().substr(2), false}, {fake::PeImage(), true}};
  for (const auto& [head, expected] : cases) EXPECT_EQ(platform::StartsAsPeImage(head), expected) << head.size();
}

// Every prefix of a stand-in reads as nothing or, where it is cut after what is read, as the whole.
TEST(ComponentImageTest, TruncatedImagesAndLibrariesReadAsNothingOrAsTheWhole) {
  const std::string bytes = StandIn(64);
  const auto whole = platform::ReadComponentImage(bytes);
  ASSERT_TRUE(whole);
  const auto library = platform::ReadTypeLibrary(whole->type_library);
  for (std::size_t length = 0; length < bytes.size(); length += length < 1024 ? 1 : 61) {
    const auto image = platform::ReadComponentImage(std::string_view(bytes).substr(0, length));
    EXPECT_TRUE(!image || image->type_library.empty() || image->type_library == whole->type_library) << length;
  }
  for (std::size_t length = 0; length < whole->type_library.size(); ++length) {
    const auto part = platform::ReadTypeLibrary(std::string_view(whole->type_library).substr(0, length));
    EXPECT_TRUE(!part || (part->libid == library->libid && part->creatable_classes == library->creatable_classes)) << length;
  }
}

TEST(ComponentImageTest, CorruptedOffsetsAndCountsAreRefused) {
  const std::string bytes = StandIn(64);
  const std::size_t pe = U32At(bytes, 0x3C), directories = pe + 24 + 112;
  // What each damage leaves readable: the image, its imports, its type library.
  const std::tuple<const char*, std::function<void(std::string&)>, bool, bool, bool> image_cases[] = {
      {"e_lfanew far past the end", [](std::string& b) { SetU32(b, 0x3C, 0xFFFFFFF0); }, false, false, false},
      {"unknown optional header", [&](std::string& b) { SetU16(b, pe + 24, 0x30B); }, false, false, false},
      {"more sections than the loader takes", [&](std::string& b) { SetU16(b, pe + 6, 97); }, false, false, false},
      {"optional header past the end", [&](std::string& b) { SetU16(b, pe + 20, 0xFFFF); }, false, false, false},
      {"import directory outside every section", [&](std::string& b) { SetU32(b, directories + 8, 0x7FFFFFFF); }, true, false, true},
      {"resource directory outside every section", [&](std::string& b) { SetU32(b, directories + 16, 0xFFFFFFF8); }, true, true, false},
      {"no data directories", [&](std::string& b) { SetU32(b, directories - 4, 0); }, true, false, false}};
  for (const auto& [name, damage, readable, imports, library] : image_cases) {
    std::string damaged = bytes;
    damage(damaged);
    const auto image = platform::ReadComponentImage(damaged);
    EXPECT_EQ(image.has_value(), readable) << name;
    if (!image) continue;
    EXPECT_EQ(!image->imported_dlls.empty(), imports) << name;
    EXPECT_EQ(!image->type_library.empty(), library) << name;
  }

  const std::string tlb = platform::ReadComponentImage(bytes)->type_library;
  const std::size_t segments = 0x54 + 4 * U32At(tlb, 0x20) + ((U32At(tlb, 0x14) & 0x100) ? 4 : 0);
  const std::pair<const char*, std::function<void(std::string&)>> library_cases[] = {
      {"another magic", [](std::string& t) { SetU32(t, 0, 0x47544C53); }},
      {"typeinfo count beyond its table", [](std::string& t) { SetU32(t, 0x20, 0x7FFFFFFF); }},
      {"typeinfo table past the end", [&](std::string& t) { SetU32(t, segments, 0xFFFFFF00); }},
      {"GUID table longer than the library", [&](std::string& t) { SetU32(t, segments + 5 * 16 + 4, 0xFFFFFFF0); }},
      {"libid past the GUID table", [](std::string& t) { SetU32(t, 0x08, 0xFFFFFFF8); }},
      {"segment directory without its markers", [&](std::string& t) { SetU32(t, segments + 12, 0); }}};
  for (const auto& [name, damage] : library_cases) {
    std::string damaged = tlb;
    damage(damaged);
    EXPECT_FALSE(platform::ReadTypeLibrary(damaged)) << name;
  }
}

}  // namespace
