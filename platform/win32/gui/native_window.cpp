#include "platform/win32/gui/native_window.h"

#include <algorithm>

#include "platform/win32/gui/basic_controls.h"
#include "platform/win32/gui/directory_list.h"
#include "platform/win32/gui/drive_list.h"
#include "platform/win32/gui/message_loop.h"
#include "platform/win32/gui/native_window_kit.h"
#include "platform/win32/gui/object_names.h"
#include "platform/win32/text_conversion.h"

namespace platform::win32 {

namespace {

// Control identifiers start above IDOK and IDCANCEL, which Enter and Escape send to the window.
constexpr int kFirstControlId = 100;

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

struct ThreadWindows {
  HWND except;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectEnabled(HWND window, LPARAM data) {
  auto* windows = reinterpret_cast<ThreadWindows*>(data);
  if (window != windows->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
    windows->found.push_back(window);
  }
  return TRUE;
}

}  // namespace

NativeWindow::NativeWindow(NativeWindowKit& kit, const platform::WindowSpec& design)
    : kit_(kit), design_(design), dpi_(kit.ScreenDpiValue()) {
  CreateWindowExW(0, kWindowClass, WideFromUtf8(design.caption).c_str(), StyleFor(design), CW_USEDEFAULT,
                  CW_USEDEFAULT, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  SetObjectName(handle_, design.name);
  dpi_ = WindowDpi(handle_);
  SizeToClientArea();
  if (design.application_icon) {
    SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(kit.BigIcon()));
    SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(kit.SmallIcon()));
  }
}

NativeWindow::~NativeWindow() {
  *alive_ = false;
  EndModal();
  controls_.clear();
  SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  DestroyWindow(handle_);
}

DWORD NativeWindow::StyleFor(const platform::WindowSpec& design) {
  return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (design.minimise_button ? WS_MINIMIZEBOX : 0);
}

void NativeWindow::SizeToClientArea() {
  const SIZE outer = OuterSize(TwipsToPixels(design_.client_width, dpi_), TwipsToPixels(design_.client_height, dpi_),
                               StyleFor(design_), 0, dpi_);
  SetWindowPos(handle_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Outer geometry is in screen coordinates, so it is converted at the screen's DPI.
float NativeWindow::Left() const { return left_.Read(WindowRect(handle_).left, kit_.ScreenDpiValue()); }
float NativeWindow::Top() const { return top_.Read(WindowRect(handle_).top, kit_.ScreenDpiValue()); }

float NativeWindow::Width() const {
  const RECT rect = WindowRect(handle_);
  return PixelsToTwips(rect.right - rect.left, kit_.ScreenDpiValue());
}

float NativeWindow::Height() const {
  const RECT rect = WindowRect(handle_);
  return PixelsToTwips(rect.bottom - rect.top, kit_.ScreenDpiValue());
}

void NativeWindow::SetLeft(float twips) {
  const int left = TwipsToPixels(twips, kit_.ScreenDpiValue());
  SetWindowPos(handle_, nullptr, left, WindowRect(handle_).top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  left_.Remember(twips, left);
}

void NativeWindow::SetTop(float twips) {
  const int top = TwipsToPixels(twips, kit_.ScreenDpiValue());
  SetWindowPos(handle_, nullptr, WindowRect(handle_).left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  top_.Remember(twips, top);
}

std::string NativeWindow::Caption() const {
  const int length = GetWindowTextLengthW(handle_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(handle_, text.data(), length + 1)));
  return Utf8FromWide(text);
}

template <class Control, class... Extra>
Control& NativeWindow::Add(const platform::ControlSpec& design, Extra&&... extra) {
  const int id = kFirstControlId + static_cast<int>(controls_.size());
  auto control = std::make_unique<Control>(*this, design, id, std::forward<Extra>(extra)...);
  Control& added = *control;
  controls_.push_back(std::move(control));
  SortTabOrder();
  return added;
}

platform::Button& NativeWindow::AddButton(const platform::ControlSpec& design) { return Add<NativeButton>(design); }

platform::CheckBox& NativeWindow::AddCheckBox(const platform::ControlSpec& design) {
  return Add<NativeCheckBox>(design);
}

platform::Label& NativeWindow::AddLabel(const platform::ControlSpec& design) { return Add<NativeLabel>(design); }

platform::TextBox& NativeWindow::AddTextBox(const platform::ControlSpec& design, platform::TextBoxStyle style) {
  return Add<NativeTextBox>(design, style);
}

platform::DriveList& NativeWindow::AddDriveList(const platform::ControlSpec& design) {
  return Add<NativeDriveList>(design, kit_.Files().Drives(), kit_.StartFolder());
}

platform::DirectoryList& NativeWindow::AddDirectoryList(const platform::ControlSpec& design) {
  return Add<NativeDirectoryList>(design, kit_.Files(), kit_.StartFolder());
}

// Screen readers (Microsoft Active Accessibility and UI Automation alike) name an edit control after
// the static text that comes right before it in the order of the child windows, so the caption is
// kept there. Statics take no focus: Tab still walks the controls by their tab indices.
void NativeWindow::SetCaptionOf(platform::Control& control, const platform::Label& caption) {
  captions_.emplace_back(dynamic_cast<const ControlCore&>(caption).Handle(),
                         dynamic_cast<ControlCore&>(control).Handle());
  SortTabOrder();
}

// A static that is never shown names the control that follows it all the same.
void NativeWindow::NameAfterWindow(platform::Control& control) {
  HWND caption = CreateWindowExW(0, L"STATIC", WideFromUtf8(design_.caption).c_str(), WS_CHILD | SS_NOPREFIX, 0, 0,
                                 0, 0, handle_, nullptr, GetModuleHandleW(nullptr), nullptr);
  captions_.emplace_back(caption, dynamic_cast<ControlCore&>(control).Handle());
  SortTabOrder();
}

void NativeWindow::SortTabOrder() {
  // Stable, so that controls with the same tab index keep the order in which they were made.
  std::stable_sort(controls_.begin(), controls_.end(),
                   [](const auto& a, const auto& b) { return a->TabIndex() < b->TabIndex(); });
  HWND previous = HWND_TOP;
  for (const auto& control : controls_) {
    SetWindowPos(control->Handle(), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control->Handle();
  }
  for (auto [caption, control] : captions_) {
    HWND before = GetWindow(control, GW_HWNDPREV);
    if (before == caption) continue;
    SetWindowPos(caption, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void NativeWindow::FocusFirst() {
  for (const auto& control : controls_) {
    if (control->TakesFocus()) {
      ::SetFocus(control->Handle());
      return;
    }
  }
  ::SetFocus(handle_);
}

HFONT NativeWindow::FontFor(const platform::Font& font) { return kit_.Fonts().Get(font, dpi_); }

bool NativeWindow::RestoreFocus() {
  if (focus_when_inactive_ == nullptr || !IsWindow(focus_when_inactive_) || !IsChild(handle_, focus_when_inactive_)) {
    return false;
  }
  ::SetFocus(focus_when_inactive_);
  return true;
}

void NativeWindow::Show() {
  ShowWindow(handle_, SW_SHOW);
  SetForegroundWindow(handle_);
  // A later showing shows the window as the user left it.
  if (!shown_before_ || !RestoreFocus()) FocusFirst();
  shown_before_ = true;
}

void NativeWindow::ShowModal() {
  const std::shared_ptr<bool> alive = alive_;
  active_before_modal_ = GetActiveWindow();
  ThreadWindows others{handle_, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&others));
  for (HWND window : others.found) EnableWindow(window, FALSE);
  disabled_for_modal_ = std::move(others.found);
  modal_ = true;
  Show();

  MSG message;
  while (*alive && IsWindowVisible(handle_)) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // WM_QUIT belongs to the main loop: leave this one and hand it on.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    DispatchWithNavigation(message);
  }
  if (*alive) EndModal();
}

void NativeWindow::EndModal() {
  if (!modal_) return;
  modal_ = false;
  for (HWND window : disabled_for_modal_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  disabled_for_modal_.clear();
}

void NativeWindow::Hide() {
  // The other windows get their input back before this one goes, so that the system can
  // activate the window that was active before.
  const bool was_modal = modal_;
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(handle_, focus)) focus_when_inactive_ = focus;
  EndModal();
  const bool was_active = GetActiveWindow() == handle_;
  ShowWindow(handle_, SW_HIDE);
  if (was_modal && was_active && IsWindow(active_before_modal_) && IsWindowVisible(active_before_modal_)) {
    SetActiveWindow(active_before_modal_);
  }
}

bool NativeWindow::IsVisible() const { return IsWindowVisible(handle_) != FALSE; }

ControlCore* NativeWindow::ControlOf(HWND child) const {
  for (const auto& control : controls_) {
    if (control->Handle() == child) return control.get();
  }
  return nullptr;
}

void NativeWindow::CloseRequested() {
  const std::shared_ptr<bool> alive = alive_;
  if (on_close_) {
    std::function<void()> handler = on_close_;
    handler();
  }
  if (!*alive) return;
  Hide();
  kit_.QuitWhenNoWindowShown();
}

void NativeWindow::DpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetWindowPos(handle_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SizeToClientArea();
  for (const auto& control : controls_) control->Layout();
}

LRESULT CALLBACK NativeWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<NativeWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self != nullptr ? self->Respond(message, wparam, lparam) : DefWindowProcW(window, message, wparam, lparam);
}

LRESULT NativeWindow::Respond(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const WORD id = LOWORD(wparam);
      if (id == IDOK) {
        // Enter, sent by the dialog keyboard: it acts on the control with the focus.
        if (ControlCore* focused = ControlOf(GetFocus())) focused->EnterPressed();
      } else if (id != IDCANCEL) {
        if (ControlCore* control = ControlOf(reinterpret_cast<HWND>(lparam))) control->Notify(HIWORD(wparam));
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      const LRESULT system = DefWindowProcW(handle_, message, wparam, lparam);
      ControlCore* control = ControlOf(reinterpret_cast<HWND>(lparam));
      if (control == nullptr) return system;
      return reinterpret_cast<LRESULT>(
          control->Colours(reinterpret_cast<HDC>(wparam), reinterpret_cast<HBRUSH>(system)));
    }
    case WM_ACTIVATE:
      // Windows that are not dialogs forget their focused control when they lose activation.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(handle_, focus)) focus_when_inactive_ = focus;
      } else if (!IsIconic(handle_) && RestoreFocus()) {
        return 0;
      }
      break;
    case WM_CLOSE:
      CloseRequested();
      return 0;
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wparam), *reinterpret_cast<RECT*>(lparam));
      return 0;
    default: break;
  }
  return DefWindowProcW(handle_, message, wparam, lparam);
}

}  // namespace platform::win32
