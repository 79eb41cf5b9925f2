// libFuzzer target: any bytes, as a component image and as a type library, must be read without a
// crash, an out-of-bounds access or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/component_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  platform::StartsAsPeImage(bytes);
  if (const auto image = platform::ReadComponentImage(bytes)) platform::ReadTypeLibrary(image->type_library);
  platform::ReadTypeLibrary(bytes);
  return 0;
}
