#include "platform/win32/gui/dpi.h"
#include "tests/platform/win32/gui/gui_fixture.h"

namespace {

using platform::win32::PixelsToTwips;
using platform::win32::ScreenDpi;
using platform::win32::TwipsToPixels;

const platform::WindowSpec kMain =
    WindowSpecOf("Form2", "Installera systemfiler för Ebronaprogrammen", 7110, 3765, /*application_icon=*/true);
const platform::WindowSpec kReport = WindowSpecOf("Form3", "Installationsrapport", 6585, 4500);
const platform::WindowSpec kChooser = WindowSpecOf("Form4", "Välj/skapa mapp", 2790, 3870);

TEST_F(GuiTest, WindowHasAFixedFrameAndTheClientAreaOfItsTwips) {
  auto window = kit_->NewWindow(kMain);
  HWND handle = HandleOf(*window);
  const LONG style = GetWindowLongW(handle, GWL_STYLE);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
  EXPECT_NE(style & WS_SYSMENU, 0);

  RECT client;
  GetClientRect(handle, &client);
  const UINT dpi = platform::win32::WindowDpi(handle);
  EXPECT_EQ(client.right, TwipsToPixels(7110, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(3765, dpi));

  RECT outer;
  GetWindowRect(handle, &outer);
  EXPECT_FLOAT_EQ(window->Width(), PixelsToTwips(outer.right - outer.left, ScreenDpi()));
  EXPECT_FLOAT_EQ(window->Height(), PixelsToTwips(outer.bottom - outer.top, ScreenDpi()));
  EXPECT_GT(window->Width(), 7110);

  EXPECT_EQ(window->Caption(), kMain.caption);
  wchar_t caption[64];
  GetWindowTextW(handle, caption, 64);
  EXPECT_STREQ(caption, L"Installera systemfiler f\u00f6r Ebronaprogrammen");
  EXPECT_EQ(platform::win32::ObjectName(handle), "Form2");
}

TEST_F(GuiTest, PositionReadsBackAsSetUntilTheWindowMoves) {
  auto window = kit_->NewWindow(kMain);
  // Values of the placement rules: a fifth of a screen, a quarter of a window plus its left.
  for (float left : {3072.0f, 3300.25f, 1234.5f, 0.0f}) {
    window->SetLeft(left);
    window->SetTop(left / 2);
    EXPECT_EQ(window->Left(), left);
    EXPECT_EQ(window->Top(), left / 2);
    RECT outer;
    GetWindowRect(HandleOf(*window), &outer);
    EXPECT_EQ(outer.left, TwipsToPixels(left, ScreenDpi()));
    EXPECT_EQ(outer.top, TwipsToPixels(left / 2, ScreenDpi()));
  }

  // Moved by someone else (the user dragging it): the pixel position, in twips.
  SetWindowPos(HandleOf(*window), nullptr, 101, 57, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_FLOAT_EQ(window->Left(), PixelsToTwips(101, ScreenDpi()));
  EXPECT_FLOAT_EQ(window->Top(), PixelsToTwips(57, ScreenDpi()));
}

TEST_F(GuiTest, ScreenSizeIsTheScreenInTwips) {
  EXPECT_FLOAT_EQ(kit_->ScreenWidth(), PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), ScreenDpi()));
  EXPECT_FLOAT_EQ(kit_->ScreenHeight(), PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), ScreenDpi()));
}

TEST_F(GuiTest, OnlyTheMainWindowShowsTheApplicationIcon) {
  auto main = kit_->NewWindow(kMain);
  auto report = kit_->NewWindow(kReport);
  EXPECT_NE(SendMessageW(HandleOf(*main), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(SendMessageW(HandleOf(*report), WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(GuiTest, ModalShowingDisablesTheOtherWindowsUntilHidden) {
  auto main = kit_->NewWindow(kMain);
  auto chooser = kit_->NewWindow(kChooser);
  main->Show();
  bool main_enabled_while_modal = true;
  bool visible_while_modal = false;
  RunSoon([&] {
    main_enabled_while_modal = IsWindowEnabled(HandleOf(*main));
    visible_while_modal = chooser->IsVisible();
    chooser->Hide();
  });
  chooser->ShowModal();
  EXPECT_TRUE(visible_while_modal);
  EXPECT_FALSE(main_enabled_while_modal);
  EXPECT_FALSE(chooser->IsVisible());
  EXPECT_TRUE(IsWindowEnabled(HandleOf(*main)));
  EXPECT_TRUE(main->IsVisible());
}

TEST_F(GuiTest, ClosingFromTheTitleBarCallsTheHandlerAndEndsTheModalShowing) {
  auto report = kit_->NewWindow(kReport);
  int close_requests = 0;
  report->OnCloseRequest([&] {
    ++close_requests;
    EXPECT_TRUE(report->IsVisible());  // hidden only after the handler
  });
  RunSoon([&] { PostMessageW(HandleOf(*report), WM_SYSCOMMAND, SC_CLOSE, 0); });
  report->ShowModal();
  EXPECT_EQ(close_requests, 1);
  EXPECT_FALSE(report->IsVisible());

  // Hiding by the program is not a close request.
  RunSoon([&] { report->Hide(); });
  report->ShowModal();
  EXPECT_EQ(close_requests, 1);
}

TEST_F(GuiTest, AHandlerMayDiscardTheWindowItCloses) {
  auto chooser = kit_->NewWindow(kChooser);
  HWND handle = HandleOf(*chooser);
  chooser->OnCloseRequest([&] { chooser.reset(); });
  chooser->Show();
  SendMessageW(handle, WM_CLOSE, 0, 0);
  EXPECT_EQ(chooser, nullptr);
  EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
