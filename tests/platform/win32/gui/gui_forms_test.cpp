// The folder chooser on the real Win32 window kit, over the in-memory host: modal over the main
// window, and a typed name with Swedish letters reaches the folder made and Text2 whole.
#include "tests/platform/win32/gui/gui_fixture.h"
#include "ui/form2.h"

namespace {

TEST_F(GuiTest, ChooserOkCreatesTheTypedFolderAndWritesItIntoText2) {
  host_.files.AddFolder("c:\\ebrona\\arkiv");
  auto form2 = std::make_unique<ui::Form2>(*kit_, host_.system);
  form2->Form_Load();
  form2->Show();
  HWND main = HandleOf(form2->window());
  bool main_enabled = true;
  RunSoon([&] {
    HWND form4 = OwnWindow(L"Välj/skapa mapp");
    main_enabled = IsWindowEnabled(main);
    SetWindowTextW(Child(form4, "Text1"), L"  Nya kopior \u00e5\u00e4\u00f6 ");
    SendMessageW(Child(form4, "Command1"), BM_CLICK, 0, 0);
  });
  Click(form2->Command4);

  EXPECT_FALSE(main_enabled);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(form2->Text2.Text(), "c:\\ebrona\\Nya kopior åäö");
  EXPECT_EQ(host_.files.FoldersMade(), (std::vector<std::string>{"c:\\ebrona\\nya kopior åäö"}));
  EXPECT_FALSE(IsWindowVisible(OwnWindow(L"Välj/skapa mapp")));
}

}  // namespace
