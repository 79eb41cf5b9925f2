// The windows on the real Win32 window kit, over the in-memory host: only the main window can be
// minimised, Escape leaves the report open, and the folder chooser hands a typed name with Swedish
// letters on whole through its edit control.
#include "tests/platform/win32/gui/gui_fixture.h"
#include "ui/form2.h"
#include "ui/form3.h"

namespace {

TEST_F(GuiTest, OnlyTheMainWindowMinimisesEscapeLeavesTheReportOpenAndTheChooserTakesSwedishLetters) {
  ui::Form2 form2(*kit_, host_.system);
  form2.Form_Load();
  form2.Show();
  ui::Form3 form3(*kit_);
  form3.Form_Load(form2.window());
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
  EXPECT_NE(GetWindowLongW(HandleOf(form2.window()), GWL_STYLE) & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(GetWindowLongW(report, GWL_STYLE) & WS_MINIMIZEBOX, 0);

  RunSoon([&] {
    HWND form4 = OwnWindow(L"Välj/skapa mapp");
    EXPECT_EQ(GetWindowLongW(form4, GWL_STYLE) & WS_MINIMIZEBOX, 0);
    SetWindowTextW(Child(form4, "Text1"), L"  Nya kopior \u00e5\u00e4\u00f6 ");
    SendMessageW(Child(form4, "Command1"), BM_CLICK, 0, 0);
  });
  Click(form2.Command4);
  EXPECT_EQ(form2.Text2.Text(), "c:\\ebrona\\Nya kopior åäö");
  EXPECT_EQ(host_.files.FoldersMade(), (std::vector<std::string>{"c:\\ebrona\\nya kopior åäö"}));
  EXPECT_FALSE(IsWindowVisible(OwnWindow(L"Välj/skapa mapp")));
}

}  // namespace
