#pragma once

#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/qt/qt_window.h"
#include "platform/window_kit.h"
#include "tests/support/fake_system.h"

// A control's spec with the designer's name, caption, place and tab index; look left at default.
inline platform::ControlSpec Spec(const char* name, const char* caption, float left, float top, float width,
                                  float height, int tab_index = 0) {
  platform::ControlSpec spec;
  spec.name = name;
  spec.caption = caption;
  spec.left = left;
  spec.top = top;
  spec.width = width;
  spec.height = height;
  spec.tab_index = tab_index;
  return spec;
}

// A window kit on Qt's offscreen platform over an in-memory file system. The first kit of the run
// makes the application object and keeps it to the end; each test then gets a kit of its own.
class QtKitTest : public ::testing::Test {
 protected:
  QtKitTest() {
    static fake::FakeFileSystem first_files;
    static std::string first_error;
    static std::unique_ptr<platform::WindowKit> first = platform::NewNativeWindowKit(first_files, first_error);
    std::string error;
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
