#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/window_kit.h"
#include "ui/control_table.h"

namespace ui {

// The folder chooser: picks the backup folder on any drive, optionally creating a new sub-folder
// in it, and writes the result into the main window's backup folder box. It touches nothing else.
class Form4 {
 public:
  // `main_window` places the chooser; `backup_box` receives the chosen folder on "OK".
  Form4(platform::WindowKit& kit, platform::FileSystem& files, const platform::Window& main_window,
        platform::TextBox& backup_box);

  // Places the window over the main window and selects drive "c:\".
  void Form_Load();

  // Shows the window modally; returns when "OK" or "Avbryt" hid it or the user closed it.
  void ShowModal();

  // Whether the last modal showing ended by the title bar's close box rather than by a button.
  bool ClosedFromTitleBar() const { return closed_from_title_bar_; }

  platform::Window& window() { return *window_; }

 private:
  void Drive1_Change();
  void Command1_Click();
  void Command2_Click();

  platform::WindowKit& kit_;
  platform::FileSystem& files_;
  const platform::Window& main_window_;
  platform::TextBox& backup_box_;
  std::unique_ptr<platform::Window> window_;
  Controls controls_;
  bool closed_from_title_bar_ = false;

 public:
  platform::DriveList& Drive1;
  platform::DirectoryList& Dir1;
  platform::Label& Label1;
  platform::TextBox& Text1;
  platform::Button& Command1;
  platform::Button& Command2;
};

}  // namespace ui
