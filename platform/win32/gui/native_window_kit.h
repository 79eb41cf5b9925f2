#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/gui/fonts.h"
#include "platform/window_kit.h"

namespace platform::win32 {

// The Win32 window kit: one window class, the shared fonts and icons, and the main message loop.
class NativeWindowKit : public platform::WindowKit {
 public:
  explicit NativeWindowKit(platform::FileSystem& files);
  ~NativeWindowKit() override;

  std::unique_ptr<platform::Window> NewWindow(const platform::WindowSpec& design) override;
  float ScreenWidth() const override;
  float ScreenHeight() const override;
  void ShowMessage(const std::string& prompt, const std::string& title, platform::MessageIcon icon) override;
  int Run() override;

  platform::FileSystem& Files() { return files_; }
  FontCache& Fonts() { return fonts_; }
  UINT ScreenDpiValue() const { return screen_dpi_; }
  // The program's icon (resource 1 of the executable) in the two sizes of a title bar and Alt+Tab;
  // null when the executable has none.
  HICON BigIcon() const { return big_icon_; }
  HICON SmallIcon() const { return small_icon_; }
  // The folder the drive and directory lists start on: the process's current folder.
  std::string StartFolder();
  // After the user closed a window: ends Run() when no window of the kit is left on the screen.
  void QuitWhenNoWindowShown();

 private:
  platform::FileSystem& files_;
  FontCache fonts_;
  UINT screen_dpi_;
  HICON big_icon_ = nullptr;
  HICON small_icon_ = nullptr;
  bool running_ = false;
};

}  // namespace platform::win32
