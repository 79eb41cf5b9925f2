#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// Untrusted bytes read as little-endian fields. Every read names its offset and fails, rather than
// reading outside, when the field does not lie wholly inside the bytes; offsets are 64-bit, so a
// 32-bit offset plus a 32-bit size never wraps.
class LittleEndianBytes {
 public:
  explicit LittleEndianBytes(std::string_view bytes) : bytes_(bytes) {}

  std::uint64_t size() const { return bytes_.size(); }
  // Whether `length` bytes from `offset` lie inside.
  bool Holds(std::uint64_t offset, std::uint64_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  // The `length` bytes from `offset`, or nothing when they do not lie inside.
  std::optional<std::string_view> Part(std::uint64_t offset, std::uint64_t length) const {
    if (!Holds(offset, length)) return std::nullopt;
    return bytes_.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
  }
  // Everything from `offset` on, or nothing when `offset` lies past the end.
  std::optional<std::string_view> From(std::uint64_t offset) const {
    if (offset > bytes_.size()) return std::nullopt;
    return bytes_.substr(static_cast<std::size_t>(offset));
  }
  std::optional<std::uint16_t> U16(std::uint64_t offset) const {
    const auto value = Field(offset, 2);
    return value ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*value)) : std::nullopt;
  }
  std::optional<std::uint32_t> U32(std::uint64_t offset) const {
    const auto value = Field(offset, 4);
    return value ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*value)) : std::nullopt;
  }

 private:
  std::optional<std::uint64_t> Field(std::uint64_t offset, unsigned length) const {
    if (!Holds(offset, length)) return std::nullopt;
    std::uint64_t value = 0;
    for (unsigned i = length; i-- > 0;) {
      value = value << 8 | static_cast<unsigned char>(bytes_[static_cast<std::size_t>(offset) + i]);
    }
    return value;
  }

  std::string_view bytes_;
};

}  // namespace platform
