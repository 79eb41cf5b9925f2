#include "platform/win32/gui/fonts.h"

#include <cmath>
#include <cwchar>

#include "platform/win32/gui/dpi.h"
#include "platform/win32/text_conversion.h"

namespace platform::win32 {

namespace {

struct FamilyLookup {
  bool found = false;
  bool raster = false;
};

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM data) {
  auto* lookup = reinterpret_cast<FamilyLookup*>(data);
  lookup->found = true;
  lookup->raster = (type & RASTER_FONTTYPE) != 0;
  return 0;  // the first match is enough
}

FamilyLookup LookUpFamily(const std::wstring& family) {
  FamilyLookup lookup;
  if (family.empty() || family.size() >= LF_FACESIZE) return lookup;
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  std::wcsncpy(wanted.lfFaceName, family.c_str(), LF_FACESIZE - 1);
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, NoteFamily, reinterpret_cast<LPARAM>(&lookup), 0);
  ReleaseDC(nullptr, screen);
  return lookup;
}

// The family to use for `family` at `dpi`. A bitmap family is only sharp at the size it was drawn
// for, so above 96 DPI its outline twin is preferred; a missing family gives way to the first
// installed sans-serif.
std::wstring InstalledFamily(const std::wstring& family, UINT dpi) {
  const FamilyLookup requested = LookUpFamily(family);
  if (requested.found && !(requested.raster && dpi != 96)) return family;
  for (const wchar_t* candidate : {L"Microsoft Sans Serif", L"Tahoma", L"Arial", L"Liberation Sans", L"DejaVu Sans"}) {
    if (LookUpFamily(candidate).found) return candidate;
  }
  return requested.found ? family : L"MS Shell Dlg";
}

using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

// The system's message font, the font of message boxes and dialogs, scaled for `dpi`.
LOGFONTW MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto for_dpi = reinterpret_cast<SystemParametersInfoForDpiFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(user32, "SystemParametersInfoForDpi")));
  if (for_dpi != nullptr && for_dpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
    return metrics.lfMessageFont;
  }
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                                            static_cast<int>(ScreenDpi()));
    return metrics.lfMessageFont;
  }
  LOGFONTW fallback{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
  return fallback;
}

}  // namespace

FontCache::~FontCache() {
  for (auto& entry : fonts_) DeleteObject(entry.second);
}

HFONT FontCache::Get(const platform::Font& font, UINT dpi) {
  const auto key = std::make_tuple(font.family, font.points, font.bold, dpi);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;

  LOGFONTW description = MessageFont(dpi);
  if (!font.family.empty()) {
    const std::wstring family = InstalledFamily(WideFromUtf8(font.family), dpi);
    std::wcsncpy(description.lfFaceName, family.c_str(), LF_FACESIZE - 1);
    description.lfFaceName[LF_FACESIZE - 1] = L'\0';
    description.lfCharSet = DEFAULT_CHARSET;
  }
  if (font.points > 0) {
    // A negative height asks for the character height without internal leading, as points do.
    description.lfHeight = -static_cast<LONG>(std::lround(font.points * static_cast<float>(dpi) / 72.0f));
  }
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  HFONT made = CreateFontIndirectW(&description);
  if (made == nullptr) made = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts_.emplace(key, made);
  return made;
}

}  // namespace platform::win32
