#include "platform/win32/gui/dpi.h"
#include "tests/platform/win32/gui/gui_fixture.h"

namespace {

using platform::win32::TwipsToPixels;

class GuiControlsTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    window_ = kit_->NewWindow({"Form2", "Kontroller", 7110, 3765, false});
  }
  std::unique_ptr<platform::Window> window_;
};

TEST_F(GuiControlsTest, ControlsStandWhereTheirTwipsSayAndReadBackWhatWasSet) {
  const platform::ControlSpec designs[] = {
      Design("Command4", "Bläddra/skapa mapp", 4950, 1860, 1890, 270),
      Design("Label3", "Spara kopior av överskrivna filer i", 2310, 1350, 1290, 675),
      Design("Text0", "", -15, 2940, 2760, 300)};
  window_->AddButton(designs[0]);
  window_->AddLabel(designs[1]);
  platform::TextBox& text = window_->AddTextBox(designs[2]);
  const UINT dpi = platform::win32::WindowDpi(HandleOf(*window_));
  for (const platform::ControlSpec& design : designs) {
    SCOPED_TRACE(design.name);
    const RECT rect = ClientRectOf(Child(*window_, design.name));
    EXPECT_EQ(rect.left, TwipsToPixels(design.left, dpi));
    EXPECT_EQ(rect.top, TwipsToPixels(design.top, dpi));
    EXPECT_EQ(rect.right, TwipsToPixels(design.left + design.width, dpi));
    EXPECT_EQ(rect.bottom, TwipsToPixels(design.top + design.height, dpi));
  }
  text.SetWidth(3075.5f);
  EXPECT_EQ(text.Width(), 3075.5f);
  EXPECT_EQ(ClientRectOf(Child(*window_, "Text0")).right, TwipsToPixels(-15 + 3075.5f, dpi));
}

TEST_F(GuiControlsTest, CheckBoxAndMultiLineTextBoxKeepTheirValues) {
  platform::CheckBox& box = window_->AddCheckBox(Design("Check1_1", "", 210, 645, 2055, 375));
  // (value before, value after a click); the user never makes a box greyed.
  for (auto [before, after] : {std::pair<std::int16_t, std::int16_t>{0, 1}, {1, 0}, {2, 1}}) {
    box.SetValue(before);
    EXPECT_EQ(box.Value(), before);
    SendMessageW(Child(*window_, "Check1_1"), BM_CLICK, 0, 0);
    EXPECT_EQ(box.Value(), after);
  }

  platform::TextBox& report = window_->AddTextBox(Design("Report", "", 15, 45, 6525, 3000), {true, false});
  std::string text = "Rad ett\r\n\tåäö ÅÄÖ\r\n\r\n";  // longer than an edit control takes by default
  while (text.size() < 40000) text += "comdlg32.ocx\t20240105\tinstallerad\r\n";
  report.SetText(text);
  EXPECT_EQ(report.Text(), text);
  const LONG style = GetWindowLongW(Child(*window_, "Report"), GWL_STYLE);
  EXPECT_NE(style & ES_MULTILINE, 0);
  EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL), 0);
}

TEST_F(GuiControlsTest, LabelsAndTextBoxesPaintInTheirColoursAndFonts) {
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
    if (label) window_->AddLabel(row.design);
    if (!label) window_->AddTextBox(row.design);
    HWND child = Child(*window_, row.design.name);
    const UINT message = label ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(HandleOf(*window_), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
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

TEST_F(GuiControlsTest, TabWalksTheTabIndicesAndTheFirstFocusIsTheLowest) {
  // Made in the designer's order, tab indices out of order; labels take no focus.
  window_->AddButton(Design("Command4", "", 0, 0, 900, 90, 16));
  window_->AddCheckBox(Design("Check1_8", "", 0, 100, 900, 90, 1));
  window_->AddLabel(Design("Label2", "", 0, 200, 900, 90, 15));
  window_->AddButton(Design("Command1", "", 0, 300, 900, 90, 5));
  window_->AddTextBox(Design("Text1", "", 0, 400, 900, 90, 2));
  window_->AddTextBox(Design("Text2", "", 0, 500, 900, 90, 0));
  window_->Show();
  std::vector<std::string> order{platform::win32::ObjectName(GetFocus())};
  for (int step = 0; step < 5; ++step) {
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    order.push_back(platform::win32::ObjectName(GetFocus()));
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Text2", "Check1_8", "Text1", "Command1", "Command4", "Text2"}));
}

}  // namespace
