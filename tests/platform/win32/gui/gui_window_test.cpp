#include "platform/win32/gui/dpi.h"
#include "tests/platform/win32/gui/gui_fixture.h"

namespace {

using platform::win32::PixelsToTwips;
using platform::win32::ScreenDpi;
using platform::win32::TwipsToPixels;

TEST_F(GuiTest, WindowHasAFixedFrameItsClientTwipsAndReadsBackItsPlace) {
  auto window = kit_->NewWindow({"Form2", "Installera systemfiler för Ebronaprogrammen", 7110, 3765, false});
  HWND handle = HandleOf(*window);
  const LONG style = GetWindowLongW(handle, GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_EQ(TextOf(handle), "Installera systemfiler för Ebronaprogrammen");
  RECT client;
  GetClientRect(handle, &client);
  EXPECT_EQ(client.right, TwipsToPixels(7110, platform::win32::WindowDpi(handle)));
  EXPECT_EQ(client.bottom, TwipsToPixels(3765, platform::win32::WindowDpi(handle)));

  // A place set in twips reads back exactly, even between pixels, until the window is moved.
  window->SetLeft(3300.25f);
  window->SetTop(1234.5f);
  EXPECT_EQ(window->Left(), 3300.25f);
  EXPECT_EQ(window->Top(), 1234.5f);
  RECT outer;
  GetWindowRect(handle, &outer);
  EXPECT_EQ(outer.left, TwipsToPixels(3300.25f, ScreenDpi()));
  EXPECT_FLOAT_EQ(window->Width(), PixelsToTwips(outer.right - outer.left, ScreenDpi()));
  SetWindowPos(handle, nullptr, 101, 57, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_FLOAT_EQ(window->Left(), PixelsToTwips(101, ScreenDpi()));
  EXPECT_FLOAT_EQ(window->Top(), PixelsToTwips(57, ScreenDpi()));
}

TEST_F(GuiTest, ModalShowingDisablesTheMainWindowUntilHiddenOrClosed) {
  auto main = kit_->NewWindow({"Form2", "Huvudfönster", 7110, 3765, false});
  auto report = kit_->NewWindow({"Form3", "Installationsrapport", 6585, 4500, false});
  main->Show();
  int close_requests = 0;
  report->OnCloseRequest([&] {
    ++close_requests;
    EXPECT_TRUE(report->IsVisible());  // hidden only after the handler
  });
  for (bool by_title_bar : {true, false}) {  // the user closes it, or the program hides it
    SCOPED_TRACE(by_title_bar);
    bool main_enabled = true;
    RunSoon([&] {
      main_enabled = IsWindowEnabled(HandleOf(*main));
      if (by_title_bar) PostMessageW(HandleOf(*report), WM_SYSCOMMAND, SC_CLOSE, 0);
      if (!by_title_bar) report->Hide();
    });
    report->ShowModal();
    EXPECT_FALSE(main_enabled);
    EXPECT_FALSE(report->IsVisible());
    EXPECT_TRUE(IsWindowEnabled(HandleOf(*main)));
    EXPECT_EQ(close_requests, 1);
  }
}

}  // namespace
