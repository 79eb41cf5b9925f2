#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/win32/gui/dpi.h"
#include "platform/win32/gui/native_control.h"

namespace platform::win32 {

class NativeWindowKit;

// A top-level window with a fixed frame, its client area sized in twips, holding plain Win32
// controls in the order of their tab indices.
class NativeWindow : public platform::Window, public ControlHost {
 public:
  NativeWindow(NativeWindowKit& kit, const platform::WindowSpec& design);
  ~NativeWindow() override;

  // The window's frame: a caption with the system menu and the close box, no sizing border, and
  // the minimise box when the design asks for it.
  static DWORD StyleFor(const platform::WindowSpec& design);

  float Left() const override;
  float Top() const override;
  float Width() const override;
  float Height() const override;
  void SetLeft(float twips) override;
  void SetTop(float twips) override;
  std::string Caption() const override;

  platform::Button& AddButton(const platform::ControlSpec& design) override;
  platform::CheckBox& AddCheckBox(const platform::ControlSpec& design) override;
  platform::Label& AddLabel(const platform::ControlSpec& design) override;
  platform::TextBox& AddTextBox(const platform::ControlSpec& design, platform::TextBoxStyle style) override;
  platform::DriveList& AddDriveList(const platform::ControlSpec& design) override;
  platform::DirectoryList& AddDirectoryList(const platform::ControlSpec& design) override;
  void SetCaptionOf(platform::Control& control, const platform::Label& caption) override;
  void NameAfterWindow(platform::Control& control) override;

  void Show() override;
  void ShowModal() override;
  void Hide() override;
  bool IsVisible() const override;
  void OnCloseRequest(std::function<void()> handler) override { on_close_ = std::move(handler); }

  // ControlHost
  HWND Handle() const override { return handle_; }
  UINT Dpi() const override { return dpi_; }
  HFONT FontFor(const platform::Font& font) override;

  // The window procedure of the kit's window class.
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  LRESULT Respond(UINT message, WPARAM wparam, LPARAM lparam);

  template <class Control, class... Extra>
  Control& Add(const platform::ControlSpec& design, Extra&&... extra);
  // Puts the child windows in tab-index order, which is the order Tab walks, and each caption right
  // before the control it names.
  void SortTabOrder();
  void FocusFirst();
  // Gives the focus back to the control that had it when the window was last left; false when
  // there is none.
  bool RestoreFocus();
  // Sets the outer size for the client area of the design at the window's DPI.
  void SizeToClientArea();
  // Gives the windows disabled by ShowModal their input back.
  void EndModal();
  ControlCore* ControlOf(HWND child) const;
  void CloseRequested();
  void DpiChanged(UINT dpi, const RECT& suggested);

  NativeWindowKit& kit_;
  platform::WindowSpec design_;
  HWND handle_ = nullptr;
  UINT dpi_;
  TwipsCoordinate left_;
  TwipsCoordinate top_;
  std::vector<std::unique_ptr<ControlCore>> controls_;  // in tab order
  std::vector<std::pair<HWND, HWND>> captions_;         // a static, and the control it names
  std::function<void()> on_close_;
  bool shown_before_ = false;
  HWND focus_when_inactive_ = nullptr;
  bool modal_ = false;
  std::vector<HWND> disabled_for_modal_;
  HWND active_before_modal_ = nullptr;
  // Cleared when the window goes away, so that a handler that discards it is noticed.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace platform::win32

namespace platform::win32 {

// The window handle behind a window of the kit, for tests and tools.
inline HWND NativeWindowFor(const platform::Window& window) {
  return dynamic_cast<const NativeWindow&>(window).Handle();
}

}  // namespace platform::win32
