#include "platform/posix/name_case.h"

namespace platform::posix {

std::string FoldNameCase(std::string_view name) {
  std::string folded(name);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(folded[i]);
    if (byte >= 'A' && byte <= 'Z') {
      folded[i] = static_cast<char>(byte + ('a' - 'A'));
    } else if (byte == 0xC3 && i + 1 < folded.size()) {
      // U+00C0..U+00DE are encoded as C3 80..C3 9E; their lower-case forms lie 0x20 higher.
      // U+00D7 (the multiplication sign) has no lower case.
      const auto next = static_cast<unsigned char>(folded[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) folded[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return folded;
}

bool NameLessIgnoringCase(const std::string& left, const std::string& right) {
  const std::string folded_left = FoldNameCase(left);
  const std::string folded_right = FoldNameCase(right);
  if (folded_left != folded_right) return folded_left < folded_right;
  return left < right;
}

}  // namespace platform::posix
