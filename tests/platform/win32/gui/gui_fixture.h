#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/win32/gui/basic_controls.h"
#include "platform/win32/gui/native_window.h"
#include "platform/win32/gui/object_names.h"
#include "platform/win32/text_conversion.h"
#include "platform/window_kit.h"
#include "tests/support/fake_system.h"

inline HWND HandleOf(const platform::Window& window) { return platform::win32::NativeWindowFor(window); }
inline HWND Child(HWND window, const std::string& name) {
  HWND child = platform::win32::FindChildByName(window, name);
  EXPECT_NE(child, nullptr) << "no control " << name;
  return child;
}
inline HWND Child(const platform::Window& window, const std::string& name) { return Child(HandleOf(window), name); }

inline std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return platform::win32::Utf8FromWide(text);
}

// A top-level window of this process by caption; other test programs may show the same captions.
inline HWND OwnWindow(const wchar_t* caption) {
  for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, caption); window != nullptr;
       window = FindWindowExW(nullptr, window, nullptr, caption)) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) return window;
  }
  return nullptr;
}

// A click as BN_CLICKED delivers it, straight into the kit's button, so that an exception from the
// handler (a test's program end) does not have to pass through the system's window procedure.
inline void Click(platform::Button& button) { dynamic_cast<platform::win32::NativeButton&>(button).Notify(BN_CLICKED); }

// The action that RunSoon has scheduled, and the timer procedure that runs it (a named function:
// 32-bit Windows calls timer procedures with the stdcall convention, which a lambda lacks).
inline std::function<void()>& PendingAction() {
  static std::function<void()> pending;
  return pending;
}
inline void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  std::function<void()> run = std::move(PendingAction());
  run();
}

// Runs `action` from the message loop that runs next, such as a modal one.
inline void RunSoon(std::function<void()> action) {
  PendingAction() = std::move(action);
  SetTimer(nullptr, 0, 0, RunPendingAction);
}

// The real Win32 window kit over the in-memory host.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_NE(kit_ = platform::NewNativeWindowKit(host_.files, error), nullptr) << error;
  }
  fake::FakeSystem host_;
  std::unique_ptr<platform::WindowKit> kit_;
};
