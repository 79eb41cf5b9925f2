#include <cmath>

#include "platform/win32/gui/dpi.h"
#include "tests/platform/win32/gui/gui_fixture.h"

namespace {

using platform::win32::TwipsToPixels;

class GuiControlsTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    window_ = kit_->NewWindow(WindowSpecOf("Form2", "Kontroller", 7110, 3765));
  }
  std::unique_ptr<platform::Window> window_;
};

TEST_F(GuiControlsTest, ControlsStandWhereTheirTwipsSay) {
  const platform::ControlSpec designs[] = {
      Design("Command4", "Bläddra/skapa mapp", 4950, 1860, 1890, 270),
      Design("Text1", "", 3765, 795, 3060, 285),
      Design("Label3", "Spara kopior av överskrivna filer i", 2310, 1350, 1290, 675),
      Design("Text0", "", -15, 2940, 2760, 300),
  };
  window_->AddButton(designs[0]);
  platform::TextBox& text = window_->AddTextBox(designs[1]);
  window_->AddLabel(designs[2]);
  window_->AddTextBox(designs[3]);

  const UINT dpi = platform::win32::WindowDpi(HandleOf(*window_));
  for (const platform::ControlSpec& design : designs) {
    SCOPED_TRACE(design.name);
    const RECT rect = ClientRectOf(Child(*window_, design.name));
    EXPECT_EQ(rect.left, TwipsToPixels(design.left, dpi));
    EXPECT_EQ(rect.top, TwipsToPixels(design.top, dpi));
    EXPECT_EQ(rect.right, TwipsToPixels(design.left + design.width, dpi));
    EXPECT_EQ(rect.bottom, TwipsToPixels(design.top + design.height, dpi));
  }

  text.SetLeft(3000);
  text.SetWidth(3075.5f);
  EXPECT_EQ(text.Left(), 3000);
  EXPECT_EQ(text.Width(), 3075.5f);
  EXPECT_EQ(ClientRectOf(Child(*window_, "Text1")).left, TwipsToPixels(3000, dpi));
}

TEST_F(GuiControlsTest, CheckBoxHoldsThreeValuesAndTheUserTogglesTwo) {
  platform::CheckBox& box = window_->AddCheckBox(Design("Check1_1", "", 210, 645, 2055, 375));
  box.SetCaption("comdlg32.ocx & co");
  EXPECT_EQ(box.Caption(), "comdlg32.ocx & co");
  HWND handle = Child(*window_, "Check1_1");
  // (value before, value after a click); the user never makes a box greyed.
  const std::pair<std::int16_t, std::int16_t> clicks[] = {{0, 1}, {1, 0}, {2, 1}};
  for (auto [before, after] : clicks) {
    box.SetValue(before);
    EXPECT_EQ(box.Value(), before);
    SendMessageW(handle, BM_CLICK, 0, 0);
    EXPECT_EQ(box.Value(), after);
  }
}

TEST_F(GuiControlsTest, ButtonRaisesItsHandlerWhenClickedOrWhenEnterFindsItFocused) {
  platform::Button& button = window_->AddButton(Design("Command3", "Hjälp", 5985, 3210, 945, 375));
  int clicks = 0;
  button.OnClick([&] { ++clicks; });
  EXPECT_EQ(button.Caption(), "Hjälp");
  HWND handle = Child(*window_, "Command3");
  EXPECT_EQ(GetWindowLongW(handle, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);  // never the default button
  SendMessageW(handle, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);

  window_->Show();
  button.SetFocus();
  PostMessageW(handle, WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(clicks, 2);
}

TEST_F(GuiControlsTest, TextBoxesKeepTheirTextAndTheirStyle) {
  platform::TextBox& line = window_->AddTextBox(Design("Text2", "", 3765, 1470, 3075, 285));
  platform::TextBox& report = window_->AddTextBox(
      Design("Report", "", 15, 45, 6525, 3000), platform::TextBoxStyle{true, false});

  line.SetText("c:\\Säkerhetskopior\\");
  EXPECT_EQ(line.Text(), "c:\\Säkerhetskopior\\");
  // Longer than an edit control takes from typing by default (32767 characters).
  std::string text = "Rad ett\r\n\tåäö ÅÄÖ\r\n\r\n";
  while (text.size() < 40000) text += "comdlg32.ocx\t20240105\tinstallerad\r\n";
  report.SetText(text);
  EXPECT_EQ(report.Text(), text);

  const LONG line_style = GetWindowLongW(Child(*window_, "Text2"), GWL_STYLE);
  EXPECT_EQ(line_style & ES_MULTILINE, 0);
  const LONG report_style = GetWindowLongW(Child(*window_, "Report"), GWL_STYLE);
  EXPECT_NE(report_style & ES_MULTILINE, 0);
  EXPECT_EQ(report_style & (WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL), 0);  // wraps, no scroll bars
  EXPECT_EQ(report_style & ES_READONLY, 0);
}

TEST_F(GuiControlsTest, LabelsAndTextBoxesPaintInTheirColoursAndFonts) {
  platform::ControlSpec label2 = Design("Label2", "Installera i", 2325, 870, 1125, 285);
  label2.background = platform::Colour::Rgb(224, 224, 224);
  label2.foreground = platform::Colour::WindowText();
  label2.font = platform::Font{"MS Sans Serif", 8.25f, true};
  window_->AddLabel(label2);
  platform::ControlSpec text1 = Design("Text1", "", 3765, 795, 3060, 285);
  text1.background = platform::Colour::Rgb(255, 255, 255);
  window_->AddTextBox(text1);
  platform::ControlSpec label4 = Design("Label4", "Installera", 210, 270, 2115, 330);
  label4.background = platform::Colour::WindowBackground();
  window_->AddLabel(label4);

  struct Expected {
    const char* name;
    UINT message;
    COLORREF background;
  };
  const Expected expected[] = {{"Label2", WM_CTLCOLORSTATIC, RGB(224, 224, 224)},
                               {"Text1", WM_CTLCOLOREDIT, RGB(255, 255, 255)},
                               {"Label4", WM_CTLCOLORSTATIC, GetSysColor(COLOR_WINDOW)}};
  HDC dc = CreateCompatibleDC(nullptr);
  for (const Expected& row : expected) {
    SCOPED_TRACE(row.name);
    HWND child = Child(*window_, row.name);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(HandleOf(*window_), row.message,
                                                       reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
    LOGBRUSH painted{};
    ASSERT_TRUE(GetObjectW(brush, sizeof(painted), &painted));
    EXPECT_EQ(painted.lbColor, row.background);
    EXPECT_EQ(GetBkColor(dc), row.background);
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
  }
  DeleteDC(dc);

  LOGFONTW bold{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Child(*window_, "Label2"), WM_GETFONT, 0, 0)), sizeof(bold), &bold);
  EXPECT_EQ(bold.lfWeight, FW_BOLD);
  EXPECT_EQ(bold.lfHeight, -std::lround(8.25 * platform::win32::WindowDpi(HandleOf(*window_)) / 72));
  LOGFONTW plain{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Child(*window_, "Text1"), WM_GETFONT, 0, 0)), sizeof(plain), &plain);
  EXPECT_NE(plain.lfWeight, FW_BOLD);
}

TEST_F(GuiControlsTest, TabWalksTheTabIndicesAndTheFirstFocusIsTheLowest) {
  // Made in the designer's order, tab indices out of order; labels take no focus.
  const std::pair<const char*, int> made[] = {{"Command4", 16}, {"Check1_8", 1}, {"Label2", 15},
                                              {"Command1", 5},  {"Text1", 2},    {"Text2", 0}};
  for (auto [name, tab] : made) {
    const platform::ControlSpec design = Design(name, name, 100, 100.0f * tab, 900, 90, tab);
    const std::string kind = name;
    if (kind.starts_with("Command")) window_->AddButton(design);
    if (kind.starts_with("Check")) window_->AddCheckBox(design);
    if (kind.starts_with("Label")) window_->AddLabel(design);
    if (kind.starts_with("Text")) window_->AddTextBox(design);
  }
  window_->Show();
  HWND root = HandleOf(*window_);
  std::vector<std::string> order{platform::win32::ObjectName(GetFocus())};
  for (int step = 0; step < 5; ++step) {
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    order.push_back(platform::win32::ObjectName(GetFocus()));
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Text2", "Check1_8", "Text1", "Command1", "Command4", "Text2"}));
  EXPECT_EQ(GetNextDlgTabItem(root, Child(*window_, "Text2"), TRUE), Child(*window_, "Command4"));
}

}  // namespace
