#pragma once

#include <string>

namespace fake {

// The smallest bytes that start as a component (a PE image): a DOS header whose e_lfanew points
// just past it, at "PE\0\0", followed by `rest`, which tells one such file from another.
inline std::string PeImage(const std::string& rest = "") {
  std::string bytes(0x40, '\0');
  bytes[0] = 'M', bytes[1] = 'Z', bytes[0x3C] = 0x40;
  return bytes + std::string("PE\0\0", 4) + rest;
}

}  // namespace fake
