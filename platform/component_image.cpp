// PE images (PE32 and PE32+) read from their bytes: the header, the section table, the import
// directory and the resource directory. Every offset, size and count comes from the file and is
// checked before use; the resource tree is walked by its three fixed levels, never recursively.
#include "platform/component_image.h"

#include <algorithm>

#include "platform/little_endian_bytes.h"

namespace platform {
namespace {

constexpr std::uint64_t kDosLfanew = 0x3C;
constexpr std::uint64_t kFileHeaderSize = 20;
constexpr std::uint64_t kSectionSize = 40;
constexpr std::uint32_t kImportDirectory = 1, kResourceDirectory = 2;
constexpr std::uint64_t kImportDescriptorSize = 20;
// More imported DLLs, or longer names, than any real component has mark a damaged image.
constexpr std::uint64_t kMostImports = 4096, kLongestDllName = 512;
// The Windows loader refuses an image with more sections.
constexpr std::uint16_t kMostSections = 96;
constexpr std::uint32_t kSubdirectory = 0x80000000u, kNamedEntry = 0x80000000u;

// The offset of the PE signature, when `bytes` start with a DOS header that points at one inside.
std::optional<std::uint64_t> PeSignatureOffset(const LittleEndianBytes& bytes) {
  const auto mz = bytes.Part(0, 2);
  const auto lfanew = bytes.U32(kDosLfanew);
  if (!mz || *mz != "MZ" || !lfanew) return std::nullopt;
  const auto signature = bytes.Part(*lfanew, 4);
  if (!signature || *signature != std::string_view("PE\0\0", 4)) return std::nullopt;
  return *lfanew;
}

struct Section {
  std::uint32_t virtual_address, raw_size, raw_offset;
};

// The image's section table and data directories, enough to find data by its RVA.
class PeLayout {
 public:
  explicit PeLayout(const LittleEndianBytes& bytes) : bytes_(bytes) {}

  // Reads the headers and the section table; false when they do not lie inside the bytes.
  bool Read() {
    const auto pe = PeSignatureOffset(bytes_);
    if (!pe) return false;
    const std::uint64_t file_header = *pe + 4;
    const auto section_count = bytes_.U16(file_header + 2);
    const auto optional_size = bytes_.U16(file_header + 16);
    if (!section_count || *section_count > kMostSections || !optional_size) return false;
    optional_header_ = file_header + kFileHeaderSize;
    optional_size_ = *optional_size;
    const auto magic = optional_size_ >= 2 ? bytes_.U16(optional_header_) : std::nullopt;
    if (!magic || (*magic != 0x10B && *magic != 0x20B)) return false;
    bits_ = *magic == 0x10B ? 32 : 64;
    const std::uint64_t sections = optional_header_ + optional_size_;
    if (!bytes_.Holds(sections, *section_count * kSectionSize)) return false;
    for (std::uint64_t i = 0; i < *section_count; ++i) {
      const std::uint64_t at = sections + i * kSectionSize;
      sections_.push_back({*bytes_.U32(at + 12), *bytes_.U32(at + 16), *bytes_.U32(at + 20)});
    }
    return true;
  }

  unsigned bits() const { return bits_; }

  // The RVA of data directory `index`, or nothing when the image has none there.
  std::optional<std::uint32_t> DirectoryRva(std::uint32_t index) const {
    const std::uint64_t count_at = bits_ == 32 ? 92 : 108;
    const std::uint64_t entry = count_at + 4 + std::uint64_t{index} * 8;
    if (entry + 8 > optional_size_) return std::nullopt;
    const auto count = bytes_.U32(optional_header_ + count_at);
    const auto rva = bytes_.U32(optional_header_ + entry);
    if (!count || index >= *count || !rva || *rva == 0) return std::nullopt;
    return rva;
  }

  // The file's bytes from `rva` to the end of the raw data of the section that holds it, or
  // nothing when no section holds it in the file.
  std::optional<std::string_view> AtRva(std::uint64_t rva) const {
    for (const Section& section : sections_) {
      if (rva < section.virtual_address || rva - section.virtual_address >= section.raw_size) continue;
      const std::uint64_t delta = rva - section.virtual_address;
      const auto rest = bytes_.From(std::uint64_t{section.raw_offset} + delta);
      if (!rest) return std::nullopt;
      return rest->substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(rest->size(), section.raw_size - delta)));
    }
    return std::nullopt;
  }

 private:
  const LittleEndianBytes& bytes_;
  std::uint64_t optional_header_ = 0, optional_size_ = 0;
  unsigned bits_ = 0;
  std::vector<Section> sections_;
};

// The NUL-terminated name at `rva`, or nothing when it does not end inside its section.
std::optional<std::string> NameAtRva(const PeLayout& layout, std::uint32_t rva) {
  const auto text = layout.AtRva(rva);
  if (!text) return std::nullopt;
  const std::size_t end = text->substr(0, kLongestDllName + 1).find('\0');
  if (end == std::string_view::npos || end == 0) return std::nullopt;
  return std::string(text->substr(0, end));
}

// The DLL names of the import directory; nothing when it cannot be read.
std::optional<std::vector<std::string>> ImportedDlls(const PeLayout& layout) {
  const auto rva = layout.DirectoryRva(kImportDirectory);
  if (!rva) return std::vector<std::string>{};
  const auto table = layout.AtRva(*rva);
  if (!table) return std::nullopt;
  const LittleEndianBytes descriptors(*table);
  std::vector<std::string> names;
  // The loader's rule: the list ends at the first entry without a name or an address table.
  for (std::uint64_t i = 0; i < kMostImports; ++i) {
    const std::uint64_t at = i * kImportDescriptorSize;
    const auto name = descriptors.U32(at + 12), thunks = descriptors.U32(at + 16);
    if (!name || !thunks) return std::nullopt;
    if (*name == 0 || *thunks == 0) return names;
    auto text = NameAtRva(layout, *name);
    if (!text) return std::nullopt;
    names.push_back(std::move(*text));
  }
  return std::nullopt;
}

// One level of the resource tree: a directory at `offset` from the tree's start.
class ResourceDirectory {
 public:
  ResourceDirectory(const LittleEndianBytes& tree, std::uint64_t offset) : tree_(tree), offset_(offset) {}

  // The target of the entry named `name` (compared ignoring ASCII letter case) or with ID `id`;
  // `*subdirectory` tells whether it is a directory. Named entries come first, then IDs.
  std::optional<std::uint32_t> Find(std::u16string_view name, std::optional<std::uint16_t> id, bool* subdirectory) const {
    const auto named = tree_.U16(offset_ + 12), ids = tree_.U16(offset_ + 14);
    if (!named || !ids) return std::nullopt;
    const std::uint64_t count = std::uint64_t{*named} + *ids;
    for (std::uint64_t i = 0; i < count; ++i) {
      const auto key = tree_.U32(offset_ + 16 + i * 8), target = tree_.U32(offset_ + 20 + i * 8);
      if (!key || !target) return std::nullopt;
      const bool named_entry = (*key & kNamedEntry) != 0;
      const bool matches = name.empty() ? !named_entry && (!id || (*key & 0xFFFF) == *id)
                                        : named_entry && NameIs(*key & ~kNamedEntry, name);
      if (matches) {
        *subdirectory = (*target & kSubdirectory) != 0;
        return *target & ~kSubdirectory;
      }
    }
    return std::nullopt;
  }

 private:
  // Whether the counted UTF-16 string at `offset` in the tree is `name`, ignoring ASCII case.
  bool NameIs(std::uint64_t offset, std::u16string_view name) const {
    const auto length = tree_.U16(offset);
    if (!length || *length != name.size()) return false;
    for (std::uint64_t i = 0; i < name.size(); ++i) {
      const auto c = tree_.U16(offset + 2 + i * 2);
      if (!c) return false;
      const char16_t upper = *c >= u'a' && *c <= u'z' ? static_cast<char16_t>(*c - 0x20) : static_cast<char16_t>(*c);
      if (upper != name[i]) return false;
    }
    return true;
  }

  const LittleEndianBytes& tree_;
  std::uint64_t offset_;
};

// The bytes of resource "TYPELIB" 1 in any language; empty when there is none or it cannot be read.
std::string TypeLibraryResource(const PeLayout& layout) {
  const auto rva = layout.DirectoryRva(kResourceDirectory);
  const auto root = rva ? layout.AtRva(*rva) : std::nullopt;
  if (!root) return {};
  const LittleEndianBytes tree(*root);
  bool subdirectory = false;
  // Type, then name, then language: the three levels every resource has.
  const auto type = ResourceDirectory(tree, 0).Find(u"TYPELIB", std::nullopt, &subdirectory);
  if (!type || !subdirectory) return {};
  const auto name = ResourceDirectory(tree, *type).Find(u"", 1, &subdirectory);
  if (!name || !subdirectory) return {};
  const auto language = ResourceDirectory(tree, *name).Find(u"", std::nullopt, &subdirectory);
  if (!language || subdirectory) return {};
  const auto data_rva = tree.U32(*language), size = tree.U32(*language + 4);
  const auto data = data_rva ? layout.AtRva(*data_rva) : std::nullopt;
  if (!data || !size || *size > data->size()) return {};
  return std::string(data->substr(0, *size));
}

}  // namespace

bool StartsAsPeImage(std::string_view head) { return PeSignatureOffset(LittleEndianBytes(head)).has_value(); }

std::optional<ComponentImage> ReadComponentImage(std::string_view bytes) {
  const LittleEndianBytes image(bytes);
  PeLayout layout(image);
  if (!layout.Read()) return std::nullopt;
  ComponentImage component;
  component.bits = layout.bits();
  if (auto imports = ImportedDlls(layout)) component.imported_dlls = std::move(*imports);
  component.type_library = TypeLibraryResource(layout);
  return component;
}

}  // namespace platform
