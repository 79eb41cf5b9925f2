#include "platform/win32/gui/dpi.h"

#include <cmath>

namespace platform::win32 {

namespace {

constexpr float kTwipsPerInch = 1440.0f;

// A user32 function by name, or null on systems that do not have it.
template <class Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  FARPROC address = user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
  // Through void(*)() so that the compiler accepts the change of function type.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

using SetProcessDpiAwarenessContextFunction = BOOL(WINAPI*)(HANDLE);
using SetProcessDPIAwareFunction = BOOL(WINAPI*)();
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

}  // namespace

void MakeProcessDpiAware() {
  auto per_monitor = User32Function<SetProcessDpiAwarenessContextFunction>("SetProcessDpiAwarenessContext");
  if (per_monitor != nullptr && per_monitor(kPerMonitorAwareV2)) return;
  // Fails harmlessly when the manifest has already made the process aware.
  auto system_wide = User32Function<SetProcessDPIAwareFunction>("SetProcessDPIAware");
  if (system_wide != nullptr) system_wide();
}

UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT WindowDpi(HWND window) {
  static const auto for_window = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const UINT dpi = for_window != nullptr && window != nullptr ? for_window(window) : 0;
  return dpi > 0 ? dpi : ScreenDpi();
}

int TwipsToPixels(float twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * static_cast<float>(dpi) / kTwipsPerInch));
}

float PixelsToTwips(int pixels, UINT dpi) {
  return static_cast<float>(pixels) * kTwipsPerInch / static_cast<float>(dpi);
}

SIZE OuterSize(int client_width, int client_height, DWORD style, DWORD ex_style, UINT dpi) {
  static const auto for_dpi = User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client_width, client_height};
  if (for_dpi == nullptr || !for_dpi(&rect, style, FALSE, ex_style, dpi)) {
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace platform::win32
