#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/window_kit.h"

namespace platform::win32 {

// The fonts of the controls, made once per request and DPI and kept until the kit goes away.
class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache();

  // The font for `font` at `dpi`: the system's message font when no family is named; a family
  // that is not installed is replaced by the nearest installed sans-serif.
  HFONT Get(const platform::Font& font, UINT dpi);

 private:
  std::map<std::tuple<std::string, float, bool, UINT>, HFONT> fonts_;
};

}  // namespace platform::win32
