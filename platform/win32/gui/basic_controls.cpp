#include "platform/win32/gui/basic_controls.h"

#include "platform/win32/text_conversion.h"

namespace platform::win32 {

namespace {

// Button captions would take "&" as the mark of an access key; the forms' captions have none.
std::wstring Literal(const std::string& caption) {
  std::wstring text;
  for (wchar_t c : WideFromUtf8(caption)) {
    if (c == L'&') text += L'&';
    text += c;
  }
  return text;
}

// A multi-line edit control that gets its keys through the dialog manager closes its window on
// Escape (it posts WM_CLOSE to it), and the report would be lost with it. The kit's windows close
// only by their title bars, so the key is swallowed here, in front of the control's own window
// procedure, which the property keeps. (Plain user32 subclassing: comctl32 is loaded only later.)
constexpr wchar_t kEditProcedure[] = L"ebrona.edit-procedure";

LRESULT CALLBACK IgnoringEscape(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if ((message == WM_KEYDOWN || message == WM_CHAR) && wparam == VK_ESCAPE) return 0;
  const auto own = reinterpret_cast<WNDPROC>(GetPropW(window, kEditProcedure));
  if (message == WM_NCDESTROY) RemovePropW(window, kEditProcedure);
  return CallWindowProcW(own, window, message, wparam, lparam);
}

void RunHandler(const std::function<void()>& handler) {
  // A copy, because the handler may replace itself or discard the window that holds it.
  if (!handler) return;
  std::function<void()> run = handler;
  run();
}

}  // namespace

NativeButton::NativeButton(ControlHost& host, const platform::ControlSpec& design, int id)
    : NativeControl(host, design, id) {
  // A plain push button, never the default one: Enter acts only on the button with the focus.
  Create(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, Literal(design.caption));
}

void NativeButton::Notify(WORD code) {
  if (code == BN_CLICKED) RunHandler(on_click_);
}

void NativeButton::EnterPressed() { RunHandler(on_click_); }

NativeCheckBox::NativeCheckBox(ControlHost& host, const platform::ControlSpec& design, int id)
    : NativeControl(host, design, id) {
  // Three states so that the program can show 2 (greyed); the user only toggles 0 and 1.
  Create(L"BUTTON", BS_3STATE | WS_TABSTOP, 0, Literal(design.caption));
}

void NativeCheckBox::SetCaption(const std::string& caption) {
  design_.caption = caption;
  SetWindowTextW(Handle(), Literal(caption).c_str());
}

std::int16_t NativeCheckBox::Value() const {
  switch (SendMessageW(Handle(), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED: return 1;
    case BST_INDETERMINATE: return 2;
    default: return 0;
  }
}

void NativeCheckBox::SetValue(std::int16_t value) {
  static constexpr WPARAM kStates[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
  if (value < 0 || value > 2) return;
  SendMessageW(Handle(), BM_SETCHECK, kStates[value], 0);
}

void NativeCheckBox::Notify(WORD code) {
  if (code == BN_CLICKED) SetValue(Value() == 1 ? 0 : 1);
}

NativeLabel::NativeLabel(ControlHost& host, const platform::ControlSpec& design, int id)
    : NativeControl(host, design, id) {
  // SS_LEFT wraps the caption at word boundaries; "&" is shown as it is.
  Create(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, WideFromUtf8(design.caption));
}

NativeTextBox::NativeTextBox(ControlHost& host, const platform::ControlSpec& design, int id,
                             platform::TextBoxStyle style)
    : NativeControl(host, design, id) {
  DWORD window_style = WS_TABSTOP;
  if (style.multi_line) {
    // Without a horizontal scroll bar or ES_AUTOHSCROLL long lines wrap at word boundaries;
    // ES_AUTOVSCROLL lets the caret move below the last visible line. Enter starts a new line,
    // since no button of the window is its default.
    window_style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (style.scroll_bars) window_style |= WS_VSCROLL;
  } else {
    window_style |= ES_AUTOHSCROLL;
    if (style.scroll_bars) window_style |= WS_HSCROLL;
  }
  Create(L"EDIT", window_style, WS_EX_CLIENTEDGE, WideFromUtf8(design.caption));
  // The whole report fits, however long: lift the typing limit of 32767 characters.
  SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
  if (style.multi_line) {
    SetPropW(Handle(), kEditProcedure, reinterpret_cast<HANDLE>(GetWindowLongPtrW(Handle(), GWLP_WNDPROC)));
    SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IgnoringEscape));
  }
}

std::string NativeTextBox::Text() const {
  const int length = GetWindowTextLengthW(Handle());
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(Handle(), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied));
  return Utf8FromWide(text);
}

void NativeTextBox::SetText(const std::string& text) { SetWindowTextW(Handle(), WideFromUtf8(text).c_str()); }

}  // namespace platform::win32
