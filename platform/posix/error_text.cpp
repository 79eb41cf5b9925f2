#include "platform/posix/error_text.h"

#include <string.h>

namespace platform::posix {
namespace {

// strerror_r comes in two shapes: the GNU one returns the text, the XSI one fills the buffer.
// Overloading on the return type picks the right reading for whichever the C library declares.
[[maybe_unused]] std::string TextOf(const char* text, const char* /*buffer*/) { return text; }
[[maybe_unused]] std::string TextOf(int result, const char* buffer) {
  return result == 0 ? std::string(buffer) : std::string("Unknown error");
}

}  // namespace

std::string ErrorText(int error) {
  char buffer[256] = {};
  return TextOf(strerror_r(error, buffer, sizeof buffer), buffer);
}

}  // namespace platform::posix
