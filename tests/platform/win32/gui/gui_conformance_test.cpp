// The window kit's promises, kept by the Win32 kit on Wine's desktop.
#include <array>

#include "tests/platform/win32/gui/gui_fixture.h"

namespace {

LONG StyleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

// Sends `code` from the control to its window, as the control notifies a user's action.
void Notify(HWND control, WORD code) {
  SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

// The real Win32 window kit over an in-memory file system, and the user's hands on its windows.
using platform::Window;

class KitDriver : public ::testing::Test {
 protected:
  enum Key { kTab = VK_TAB, kEnter = VK_RETURN };

  platform::WindowKit& Kit() {
    std::string error;
    if (!kit_) kit_ = platform::NewNativeWindowKit(files_, error);
    return *kit_;
  }

  static std::pair<int, int> ControlPixels(Window& window, const char* name) {
    const RECT rect = ClientRectOf(Child(window, name));
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
  static void WaitShown(Window&) { Pump(); }
  static bool TakesInput(Window& window) { return IsWindowEnabled(HandleOf(window)); }
  static void Press(Key key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    Pump();
  }
  static std::string Focused() { return platform::win32::ObjectName(GetFocus()); }
  static void Soon(std::function<void()> action) { RunSoon(std::move(action)); }
  static void CloseByTitleBar(Window& window) { PostMessageW(HandleOf(window), WM_SYSCOMMAND, SC_CLOSE, 0); }
  static void ClickBox(Window& window, const char* name) { SendMessageW(Child(window, name), BM_CLICK, 0, 0); }
  static bool MultiLineWithoutScrollBars(Window& window, const char* name) {
    const LONG style = StyleOf(Child(window, name));
    return (style & ES_MULTILINE) && !(style & (WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL));
  }
  // The user picks the drive above from the closed list.
  static void UserPicksDriveAbove(Window& window) {
    HWND combo = Child(window, "Drive1");
    SendMessageW(combo, CB_SETCURSEL, SendMessageW(combo, CB_GETCURSEL, 0, 0) - 1, 0);
    Notify(combo, CBN_SELCHANGE);
  }

  // The folder list's rows from the top down, without the blanks that indent them.
  static std::vector<std::string> FolderRows(Window& window) {
    std::vector<std::string> rows;
    HWND list = Child(window, "Dir1");
    for (LRESULT row = 0; row < SendMessageW(list, LB_GETCOUNT, 0, 0); ++row) {
      wchar_t text[MAX_PATH];
      const auto length = SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
      const std::string shown = platform::win32::Utf8FromWide(std::wstring(text, static_cast<std::size_t>(length)));
      rows.push_back(shown.substr(shown.find_first_not_of(' ')));
    }
    return rows;
  }
  static int HighlightedRow(Window& window) {
    return static_cast<int>(SendMessageW(Child(window, "Dir1"), LB_GETCURSEL, 0, 0));
  }
  static void Highlight(Window& window, int row) {
    SendMessageW(Child(window, "Dir1"), LB_SETCURSEL, row, 0);
    Notify(Child(window, "Dir1"), LBN_SELCHANGE);
  }
  static void DoubleClick(Window& window, int row) { Highlight(window, row), Notify(Child(window, "Dir1"), LBN_DBLCLK); }

  fake::FakeFileSystem files_;
  std::unique_ptr<platform::WindowKit> kit_;
};

}  // namespace

#include "tests/platform/window_kit_conformance.h"
