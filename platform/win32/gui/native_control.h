#pragma once

#include <windows.h>

#include <string>

#include "platform/window_kit.h"

namespace platform::win32 {

// What a control needs from the window that holds it.
class ControlHost {
 public:
  virtual ~ControlHost() = default;
  virtual HWND Handle() const = 0;
  virtual UINT Dpi() const = 0;
  virtual HFONT FontFor(const platform::Font& font) = 0;
};

// The part every control shares: its child window, its designed place in twips (the source of
// truth; pixels are derived from it), its tab index and its colours.
class ControlCore {
 public:
  ControlCore(ControlHost& host, const platform::ControlSpec& design, int id);
  ControlCore(const ControlCore&) = delete;
  ControlCore& operator=(const ControlCore&) = delete;
  virtual ~ControlCore();

  HWND Handle() const { return handle_; }
  int Id() const { return id_; }
  int TabIndex() const { return tab_index_; }
  bool TakesFocus() const;

  // Places the child window for the host's current DPI and gives it its font.
  void Layout();
  // A WM_COMMAND notification from the child window.
  virtual void Notify(WORD /*code*/) {}
  // Enter pressed while the control has the focus (no control is the window's default button).
  virtual void EnterPressed() {}
  // Answers WM_CTLCOLOR*: `default_brush` and the colours already set in `dc` are the system's.
  HBRUSH Colours(HDC dc, HBRUSH default_brush);

 protected:
  // Makes the child window; called once by each kind of control from its constructor.
  void Create(const wchar_t* window_class, DWORD style, DWORD ex_style, const std::wstring& text);
  // Moves the child window to the pixel rectangle of its twips; the drive list adds its drop-down.
  virtual void Place(int left, int top, int width, int height);

  ControlHost& host_;
  platform::ControlSpec design_;

 private:
  int id_;
  int tab_index_;
  HWND handle_ = nullptr;
  HBRUSH background_brush_ = nullptr;
};

// The geometry and focus of platform::Control for every kind of control.
template <class Interface>
class NativeControl : public Interface, public ControlCore {
 public:
  using ControlCore::ControlCore;

  float Left() const override { return design_.left; }
  float Top() const override { return design_.top; }
  float Width() const override { return design_.width; }
  float Height() const override { return design_.height; }
  void SetLeft(float twips) override { Move(design_.left, twips); }
  void SetTop(float twips) override { Move(design_.top, twips); }
  void SetWidth(float twips) override { Move(design_.width, twips); }
  void SetHeight(float twips) override { Move(design_.height, twips); }
  void SetFocus() override { ::SetFocus(Handle()); }
  bool HasFocus() const override { return ::GetFocus() == Handle(); }

 private:
  void Move(float& coordinate, float twips) {
    coordinate = twips;
    Layout();
  }
};

}  // namespace platform::win32
