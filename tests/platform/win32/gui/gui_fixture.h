#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/win32/gui/message_loop.h"
#include "platform/win32/gui/native_window.h"
#include "platform/win32/gui/object_names.h"
#include "platform/window_kit.h"
#include "tests/support/fake_system.h"

// A control's design as the forms' tables give it.
inline platform::ControlSpec Design(const std::string& name, const std::string& caption, float left, float top,
                                  float width, float height, int tab_index = 0) {
  platform::ControlSpec design;
  design.name = name;
  design.caption = caption;
  design.left = left;
  design.top = top;
  design.width = width;
  design.height = height;
  design.tab_index = tab_index;
  return design;
}

inline platform::WindowSpec WindowSpecOf(const std::string& name, const std::string& caption, float client_width,
                                         float client_height, bool application_icon = false) {
  platform::WindowSpec design;
  design.name = name;
  design.caption = caption;
  design.client_width = client_width;
  design.client_height = client_height;
  design.application_icon = application_icon;
  return design;
}

// The real Win32 window kit over the in-memory file system, with the means to reach its windows'
// controls by name and to act inside a modal loop.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    kit_ = platform::NewNativeWindowKit(files_, error);
    ASSERT_NE(kit_, nullptr) << error;
  }

  static HWND HandleOf(const platform::Window& window) {
    return platform::win32::NativeWindowFor(window);
  }
  static HWND Child(const platform::Window& window, const std::string& name) {
    HWND child = platform::win32::FindChildByName(HandleOf(window), name);
    EXPECT_NE(child, nullptr) << "no control " << name;
    return child;
  }
  fake::FakeFileSystem files_;
  std::unique_ptr<platform::WindowKit> kit_;
};

// The child's rectangle in the client coordinates of its window.
inline RECT ClientRectOf(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Hands on every waiting message, as the kit's loops do.
inline void Pump() { platform::win32::DispatchPending(); }

// Runs `action` from the message loop that runs next, such as a modal one.
inline void RunSoon(std::function<void()> action) {
  static std::function<void()> pending;
  pending = std::move(action);
  SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    std::function<void()> run = std::move(pending);
    run();
  });
}
