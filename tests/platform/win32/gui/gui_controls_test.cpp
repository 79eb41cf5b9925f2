// Labels and text boxes paint in the colours and fonts their designs name.
#include "tests/platform/win32/gui/gui_fixture.h"

namespace {

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
