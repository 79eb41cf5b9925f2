#include "platform/win32/gui/native_control.h"

#include "platform/win32/gui/dpi.h"
#include "platform/win32/gui/object_names.h"

namespace platform::win32 {

namespace {

COLORREF ColourValue(const platform::Colour& colour) {
  switch (colour.kind) {
    case platform::Colour::Kind::kRgb: return RGB(colour.red, colour.green, colour.blue);
    case platform::Colour::Kind::kWindowBackground: return GetSysColor(COLOR_WINDOW);
    case platform::Colour::Kind::kWindowText: return GetSysColor(COLOR_WINDOWTEXT);
    case platform::Colour::Kind::kDefault: break;
  }
  return CLR_INVALID;
}

}  // namespace

ControlCore::ControlCore(ControlHost& host, const platform::ControlSpec& design, int id)
    : host_(host), design_(design), id_(id), tab_index_(design.tab_index) {}

ControlCore::~ControlCore() {
  if (handle_ != nullptr) DestroyWindow(handle_);
  if (background_brush_ != nullptr) DeleteObject(background_brush_);
}

void ControlCore::Create(const wchar_t* window_class, DWORD style, DWORD ex_style, const std::wstring& text) {
  // WS_CLIPSIBLINGS: where controls overlap (a label over a text box), the one earlier in the tab
  // order stays on top when the other repaints.
  handle_ = CreateWindowExW(ex_style, window_class, text.c_str(), style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                            0, 0, 0, 0,
                            host_.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                            GetModuleHandleW(nullptr), nullptr);
  SetObjectName(handle_, design_.name);
  if (design_.background.kind == platform::Colour::Kind::kRgb) {
    background_brush_ = CreateSolidBrush(ColourValue(design_.background));
  }
  Layout();
}

bool ControlCore::TakesFocus() const {
  return (GetWindowLongW(handle_, GWL_STYLE) & WS_TABSTOP) != 0 && IsWindowEnabled(handle_) &&
         IsWindowVisible(handle_);
}

void ControlCore::Layout() {
  const UINT dpi = host_.Dpi();
  // Each edge is rounded on its own, so that controls that touch in twips touch in pixels.
  const int left = TwipsToPixels(design_.left, dpi);
  const int top = TwipsToPixels(design_.top, dpi);
  const int right = TwipsToPixels(design_.left + design_.width, dpi);
  const int bottom = TwipsToPixels(design_.top + design_.height, dpi);
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(host_.FontFor(design_.font)), FALSE);
  Place(left, top, right - left, bottom - top);
  InvalidateRect(handle_, nullptr, TRUE);
}

void ControlCore::Place(int left, int top, int width, int height) {
  SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH ControlCore::Colours(HDC dc, HBRUSH default_brush) {
  const COLORREF text = ColourValue(design_.foreground);
  if (text != CLR_INVALID) SetTextColor(dc, text);
  switch (design_.background.kind) {
    case platform::Colour::Kind::kRgb:
      SetBkColor(dc, ColourValue(design_.background));
      return background_brush_;
    case platform::Colour::Kind::kWindowBackground:
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return GetSysColorBrush(COLOR_WINDOW);
    case platform::Colour::Kind::kWindowText:
      SetBkColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return GetSysColorBrush(COLOR_WINDOWTEXT);
    case platform::Colour::Kind::kDefault: break;
  }
  return default_brush;
}

}  // namespace platform::win32
