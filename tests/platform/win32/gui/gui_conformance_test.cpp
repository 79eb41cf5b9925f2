// The window kit's promises, kept by the Win32 kit on Wine's desktop, and what only this kit can
// break in the program's own windows.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/win32/gui/message_loop.h"
#include "platform/win32/gui/native_window.h"
#include "platform/win32/gui/object_names.h"
#include "platform/win32/text_conversion.h"
#include "platform/window_kit.h"
#include "tests/support/fake_system.h"
#include "ui/form2.h"
#include "ui/form3.h"

namespace {

HWND HandleOf(const platform::Window& window) { return platform::win32::NativeWindowFor(window); }
HWND Child(HWND window, const std::string& name) {
  HWND child = platform::win32::FindChildByName(window, name);
  EXPECT_NE(child, nullptr) << "no control " << name;
  return child;
}
HWND Child(const platform::Window& window, const std::string& name) { return Child(HandleOf(window), name); }

// The action that RunSoon has scheduled, and the timer procedure that runs it (a named function:
// 32-bit Windows calls timer procedures with the stdcall convention, which a lambda lacks).
std::function<void()>& PendingAction() {
  static std::function<void()> pending;
  return pending;
}
void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  std::function<void()> run = std::move(PendingAction());
  run();
}

// Runs `action` from the message loop that runs next, such as a modal one.
void RunSoon(std::function<void()> action) {
  PendingAction() = std::move(action);
  SetTimer(nullptr, 0, 0, RunPendingAction);
}

LONG StyleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

// Sends `code` from the control to its window, as the control notifies a user's action.
void Notify(HWND control, WORD code) {
  SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

using platform::Window;

// The real Win32 window kit over an in-memory file system, and the user's hands on its windows.
class KitDriver : public ::testing::Test {
 protected:
  enum Key { kTab = VK_TAB, kEnter = VK_RETURN };

  platform::WindowKit& Kit() {
    std::string error;
    if (!kit_) kit_ = platform::NewNativeWindowKit(files_, error);
    return *kit_;
  }

  // The control's left and right edges in the client coordinates of its window.
  static std::pair<int, int> ControlPixels(Window& window, const char* name) {
    RECT rect;
    GetWindowRect(Child(window, name), &rect);
    MapWindowPoints(nullptr, HandleOf(window), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.right};
  }
  static std::pair<int, int> ClientPixels(Window& window) {
    RECT client;
    GetClientRect(HandleOf(window), &client);
    return {client.right, client.bottom};
  }
  static std::array<int, 3> OuterPixels(Window& window) {
    RECT outer;
    GetWindowRect(HandleOf(window), &outer);
    return {outer.left, outer.right - outer.left, outer.bottom - outer.top};
  }
  static bool Resizable(Window& window) { return StyleOf(HandleOf(window)) & (WS_THICKFRAME | WS_MAXIMIZEBOX); }
  static bool HasMinimiseButton(Window& window) { return StyleOf(HandleOf(window)) & WS_MINIMIZEBOX; }
  static void MoveNatively(Window& window, int x, int y) {
    SetWindowPos(HandleOf(window), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  static void WaitShown(Window&) { platform::win32::DispatchPending(); }  // every waiting message handled
  static bool TakesInput(Window& window) { return IsWindowEnabled(HandleOf(window)); }
  static void Press(Key key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    platform::win32::DispatchPending();
  }
  static std::string Focused() { return platform::win32::ObjectName(GetFocus()); }
  static void Soon(std::function<void()> action) { RunSoon(std::move(action)); }
  static void CloseByTitleBar(Window& window) { PostMessageW(HandleOf(window), WM_SYSCOMMAND, SC_CLOSE, 0); }
  static void ClickBox(Window& window, const char* name) { SendMessageW(Child(window, name), BM_CLICK, 0, 0); }
  static bool MultiLineWithoutScrollBars(Window& window, const char* name) {
    const LONG style = StyleOf(Child(window, name));
    return (style & ES_MULTILINE) && !(style & (WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL));
  }
  // The control's name as a screen reader gets it from Windows' accessibility (oleacc).
  static std::string AccessibleName(Window& window, const char* name) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(Child(window, name), OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object));
    if (object == nullptr) return "(no accessible object)";
    VARIANT self{};
    self.vt = VT_I4;  // child CHILDID_SELF, 0: the control itself
    BSTR text = nullptr;
    object->get_accName(self, &text);
    object->Release();
    const std::wstring read(text, SysStringLen(text));
    SysFreeString(text);
    return platform::win32::Utf8FromWide(read);
  }
  // The user picks the drive above from the closed list.
  static void UserPicksDriveAbove(Window& window) {
    HWND combo = Child(window, "Drive1");
    SendMessageW(combo, CB_SETCURSEL, SendMessageW(combo, CB_GETCURSEL, 0, 0) - 1, 0);
    Notify(combo, CBN_SELCHANGE);
  }

  // The folder list's rows from the top down, without the blanks that indent them; "> " marks the
  // highlighted one.
  static std::vector<std::string> FolderRows(Window& window) {
    std::vector<std::string> rows;
    HWND list = Child(window, "Dir1");
    for (LRESULT row = 0; row < SendMessageW(list, LB_GETCOUNT, 0, 0); ++row) {
      wchar_t text[MAX_PATH];
      const auto length = SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
      std::string shown = platform::win32::Utf8FromWide(std::wstring(text, static_cast<std::size_t>(length)));
      shown.erase(0, shown.find_first_not_of(' '));
      rows.push_back(row == SendMessageW(list, LB_GETCURSEL, 0, 0) ? "> " + shown : shown);
    }
    return rows;
  }
  static void Highlight(Window& window, int row) {
    SendMessageW(Child(window, "Dir1"), LB_SETCURSEL, row, 0);
    Notify(Child(window, "Dir1"), LBN_SELCHANGE);
  }
  static void DoubleClick(Window& window, int row) {
    Highlight(window, row);
    Notify(Child(window, "Dir1"), LBN_DBLCLK);
  }

  fake::FakeFileSystem files_;
  std::unique_ptr<platform::WindowKit> kit_;
};

// Only the main window can be minimised, and Escape leaves the report open: a multi-line edit
// control would close its window on Escape, and the report would be lost with it. Screen readers
// tell the three boxes apart by their names.
TEST_F(KitDriver, OnlyTheMainWindowMinimisesAndEscapeLeavesTheReportOpen) {
  fake::FakeSystem host;
  ui::Form2 form2(Kit(), host.system);
  form2.Form_Load();
  form2.Show();
  ui::Form3 form3(Kit());
  form3.Form_Load(form2.window());
  EXPECT_EQ(AccessibleName(form2.window(), "Text1") + "|" + AccessibleName(form2.window(), "Text2") + "|" +
                AccessibleName(form3.window(), "Text1"),
            "Installera i|Spara kopior av överskrivna filer i|Installationsrapport");
  HWND report = HandleOf(form3.window());
  bool kept_after_escape = false;
  RunSoon([&] {
    PostMessageW(Child(report, "Text1"), WM_KEYDOWN, VK_ESCAPE, 0);
    RunSoon([&] {
      kept_after_escape = IsWindowVisible(report);
      PostMessageW(report, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
  });
  form3.ShowModal();
  EXPECT_TRUE(kept_after_escape);
  EXPECT_NE(StyleOf(HandleOf(form2.window())) & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(StyleOf(report) & WS_MINIMIZEBOX, 0);
}

}  // namespace

#include "tests/platform/window_kit_conformance.h"
