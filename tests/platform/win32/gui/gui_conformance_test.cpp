// The window kit's promises, kept by the Win32 kit on Wine's desktop.
#include <array>

#include "platform/win32/gui/message_loop.h"
#include "tests/platform/win32/gui/gui_fixture.h"

namespace {

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

// What only this kit can break: labels and text boxes paint in the colours and fonts their designs name.
TEST_F(GuiTest, LabelsAndTextBoxesPaintInTheirColoursAndFonts) {
  auto window = kit_->NewWindow({"Form2", "Kontroller", 7110, 3765, false});
  struct Row {
    platform::ControlSpec design;
    COLORREF background;
  };
  const Row rows[] = {
      {{"Label2", "Installera i", 0, 0, 1125, 285, 0, platform::Colour::Rgb(224, 224, 224),
        platform::Colour::WindowText(), platform::Font{"MS Sans Serif", 8.25f, true}},
       RGB(224, 224, 224)},
      {{"Text1", "", 0, 300, 3060, 285, 0, platform::Colour::Rgb(255, 255, 255), {}, {}}, RGB(255, 255, 255)},
      {{"Label4", "Installera", 0, 600, 2115, 330, 0, platform::Colour::WindowBackground(), {}, {}},
       GetSysColor(COLOR_WINDOW)},
  };
  HDC dc = CreateCompatibleDC(nullptr);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.design.name);
    const bool label = row.design.name.starts_with("Label");
    if (label) window->AddLabel(row.design);
    if (!label) window->AddTextBox(row.design);
    HWND child = Child(*window, row.design.name);
    const UINT message = label ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(HandleOf(*window), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
    LOGBRUSH painted{};
    ASSERT_TRUE(GetObjectW(brush, sizeof(painted), &painted));
    EXPECT_EQ(painted.lbColor, row.background);
    EXPECT_EQ(GetBkColor(dc), row.background);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_EQ(font.lfWeight == FW_BOLD, row.design.font.bold);
  }
  DeleteDC(dc);
}

}  // namespace

#include "tests/platform/window_kit_conformance.h"
