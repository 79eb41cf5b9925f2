#include "platform/same_bytes.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace platform {

bool SameBytes(const std::filesystem::path& first, const std::filesystem::path& second) {
  // A folder opens as a stream on some systems and reads as empty.
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(first, ignored) || !std::filesystem::is_regular_file(second, ignored)) return false;
  std::ifstream one(first, std::ios::binary), other(second, std::ios::binary);
  if (!one || !other) return false;
  std::array<char, 1 << 16> a, b;
  for (;;) {
    one.read(a.data(), a.size());
    other.read(b.data(), b.size());
    if (one.gcount() != other.gcount() || !std::equal(a.begin(), a.begin() + one.gcount(), b.begin())) return false;
    // A read error is no proof of equal contents; both ends reached together is.
    if (one.bad() || other.bad()) return false;
    if (one.eof() || other.eof()) return one.eof() && other.eof();
  }
}

}  // namespace platform
