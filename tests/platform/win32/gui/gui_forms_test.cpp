// The windows on the real Win32 window kit, over the in-memory host: only the main window can be
// minimised, Escape leaves the report open, and the folder chooser is modal over the main window,
// keeps the focus where the user left it, and hands a typed name with Swedish letters on whole.
#include "tests/platform/win32/gui/gui_fixture.h"
#include "ui/form2.h"
#include "ui/form3.h"

namespace {

class GuiFormsTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (HasFatalFailure()) return;
    form2_ = std::make_unique<ui::Form2>(*kit_, host_.system);
    form2_->Form_Load();
    form2_->Show();
    main_ = HandleOf(form2_->window());
  }

  std::unique_ptr<ui::Form2> form2_;
  HWND main_ = nullptr;
};

TEST_F(GuiFormsTest, OnlyTheMainWindowMinimisesAndEscapeLeavesTheReportOpen) {
  ui::Form3 form3(*kit_);
  form3.Form_Load(form2_->window());
  form3.Text1.SetText("Installation av systemfiler klar.\r\n\r\n");
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
  EXPECT_NE(GetWindowLongW(main_, GWL_STYLE) & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(GetWindowLongW(report, GWL_STYLE) & WS_MINIMIZEBOX, 0);
}

TEST_F(GuiFormsTest, ChooserOkCreatesTheTypedFolderAndWritesItIntoText2) {
  host_.files.AddFolder("c:\\ebrona\\arkiv");
  // The first showing starts on "OK"; a later one keeps the focus where the user left it.
  bool first_on_ok = false;
  RunSoon([&] {
    HWND form4 = OwnWindow(L"Välj/skapa mapp");
    first_on_ok = GetFocus() == Child(form4, "Command1");
    SendMessageW(Child(form4, "Command2"), BM_CLICK, 0, 0);
  });
  Click(form2_->Command4);
  bool main_enabled = true;
  bool again_on_cancel = false;
  LONG style = WS_MINIMIZEBOX;
  RunSoon([&] {
    HWND form4 = OwnWindow(L"Välj/skapa mapp");
    main_enabled = IsWindowEnabled(main_);
    again_on_cancel = GetFocus() == Child(form4, "Command2");
    style = GetWindowLongW(form4, GWL_STYLE);
    SetWindowTextW(Child(form4, "Text1"), L"  Nya kopior \u00e5\u00e4\u00f6 ");
    SendMessageW(Child(form4, "Command1"), BM_CLICK, 0, 0);
  });
  Click(form2_->Command4);

  EXPECT_TRUE(first_on_ok);
  EXPECT_TRUE(again_on_cancel);
  EXPECT_EQ(style & WS_MINIMIZEBOX, 0);
  EXPECT_FALSE(main_enabled);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(form2_->Text2.Text(), "c:\\ebrona\\Nya kopior åäö");
  EXPECT_EQ(host_.files.FoldersMade(), (std::vector<std::string>{"c:\\ebrona\\nya kopior åäö"}));
  EXPECT_FALSE(IsWindowVisible(OwnWindow(L"Välj/skapa mapp")));
}

}  // namespace
