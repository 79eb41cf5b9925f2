#pragma once

#include <memory>

#include "platform/window_kit.h"
#include "ui/control_table.h"

namespace ui {

// The report window: one editable multi-line text box that holds the report of an installation
// run, placed over the main window when it is loaded.
class Form3 {
 public:
  explicit Form3(platform::WindowKit& kit);

  // Places the window over `main_window` (a quarter of its width and height in from its corner).
  void Form_Load(const platform::Window& main_window);

  // Shows the window modally; returns when the user has closed it.
  void ShowModal() { window_->ShowModal(); }

  platform::Window& window() { return *window_; }

 private:
  std::unique_ptr<platform::Window> window_;
  Controls controls_;

 public:
  platform::TextBox& Text1;
};

}  // namespace ui
