#include "platform/win32/gui/dpi.h"
#include "tests/platform/win32/gui/gui_fixture.h"

namespace {

using platform::win32::PixelsToTwips;
using platform::win32::ScreenDpi;
using platform::win32::TwipsToPixels;

platform::WindowSpec WindowDesign(const std::string& name, const std::string& caption) {
  return {name, caption, 7110, 3765, false};
}

TEST_F(GuiTest, WindowHasAFixedFrameItsClientTwipsAndReadsBackItsPlace) {
  auto window = kit_->NewWindow(WindowDesign("Form2", "Installera systemfiler för Ebronaprogrammen"));
  HWND handle = HandleOf(*window);
  const LONG style = GetWindowLongW(handle, GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_EQ(TextOf(handle), "Installera systemfiler för Ebronaprogrammen");

  RECT client;
  GetClientRect(handle, &client);
  const UINT dpi = platform::win32::WindowDpi(handle);
  EXPECT_EQ(client.right, TwipsToPixels(7110, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(3765, dpi));
  RECT outer;
  GetWindowRect(handle, &outer);
  EXPECT_FLOAT_EQ(window->Width(), PixelsToTwips(outer.right - outer.left, ScreenDpi()));

  // A place set in twips reads back exactly, even between pixels, until the window is moved.
  window->SetLeft(3300.25f);
  window->SetTop(1234.5f);
  EXPECT_EQ(window->Left(), 3300.25f);
  EXPECT_EQ(window->Top(), 1234.5f);
  GetWindowRect(handle, &outer);
  EXPECT_EQ(outer.left, TwipsToPixels(3300.25f, ScreenDpi()));
  SetWindowPos(handle, nullptr, 101, 57, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_FLOAT_EQ(window->Left(), PixelsToTwips(101, ScreenDpi()));
  EXPECT_FLOAT_EQ(window->Top(), PixelsToTwips(57, ScreenDpi()));
}

TEST_F(GuiTest, ModalShowingDisablesTheMainWindowUntilHiddenOrClosed) {
  auto main = kit_->NewWindow(WindowDesign("Form2", "Huvudfönster"));
  auto report = kit_->NewWindow(WindowDesign("Form3", "Installationsrapport"));
  main->Show();
  int close_requests = 0;
  report->OnCloseRequest([&] {
    ++close_requests;
    EXPECT_TRUE(report->IsVisible());  // hidden only after the handler
  });

  // (ended from the title bar, or hidden by the program)
  for (bool by_title_bar : {true, false}) {
    SCOPED_TRACE(by_title_bar);
    bool main_enabled = true;
    RunSoon([&] {
      main_enabled = IsWindowEnabled(HandleOf(*main));
      if (by_title_bar) {
        PostMessageW(HandleOf(*report), WM_SYSCOMMAND, SC_CLOSE, 0);
      } else {
        report->Hide();
      }
    });
    report->ShowModal();
    EXPECT_FALSE(main_enabled);
    EXPECT_FALSE(report->IsVisible());
    EXPECT_TRUE(IsWindowEnabled(HandleOf(*main)));
    EXPECT_EQ(close_requests, 1);
  }
}

}  // namespace
