#pragma once

#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/qt/qt_window.h"
#include "platform/window_kit.h"
#include "tests/support/fake_system.h"

inline platform::ControlSpec Design(const char* name, float left, float top, float width, float height, int tab = 0) {
  platform::ControlSpec design;
  design.name = name;
  design.left = left, design.top = top, design.width = width, design.height = height, design.tab_index = tab;
  return design;
}

// The first kit of the run: it makes the application object, which must live until the last test
// ends and not beyond main. Made by the first test that needs it, so that a death test can still
// see a process without one.
inline std::unique_ptr<platform::WindowKit>& ApplicationKit() {
  static std::unique_ptr<platform::WindowKit> kit;
  return kit;
}

// A window kit on Qt's offscreen platform over an in-memory file system, one for each test.
class QtKitTest : public ::testing::Test {
 protected:
  QtKitTest() {
    static fake::FakeFileSystem first_files;
    std::string error;
    if (!ApplicationKit()) ApplicationKit() = platform::NewNativeWindowKit(first_files, error);
    kit_ = platform::NewNativeWindowKit(files_, error);
  }

  std::unique_ptr<platform::Window> NewWindow(float width = 7110, float height = 3765) {
    return kit_->NewWindow({"Form9", "Prov", width, height, false});
  }
  static QWidget& WidgetOf(platform::Window& window) { return dynamic_cast<platform::qt::QtWindow&>(window).widget(); }
  template <class T>
  static T& Find(platform::Window& window, const char* name) {
    T* child = WidgetOf(window).findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *child;
  }

  fake::FakeFileSystem files_;
  std::unique_ptr<platform::WindowKit> kit_;
};
