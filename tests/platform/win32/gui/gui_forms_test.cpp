// The three windows on the real Win32 window kit, over the in-memory host.
#include "tests/platform/win32/gui/gui_fixture.h"
#include "ui/form2.h"

namespace {

constexpr const char* kComponents[] = {"comdlg32.ocx", "msflxgrd.ocx", "msmapi32.ocx", "tabctl32.ocx",
                                       "msinet.ocx",   "riched32.dll", "richtx32.ocx", "pdf_itb.ocx"};

class GuiFormsTest : public GuiTest {
 protected:
  void SetUp() override {
    host_.files.AddFile("c:\\windows\\sysWOW64\\msvbvm60.dll", "20080414");
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

TEST_F(GuiFormsTest, MainWindowAfterLoadShowsTheCheckBoxesTheFolderAndTheFocusInText2) {
  for (int i = 1; i <= 8; ++i) {
    SCOPED_TRACE(i);
    HWND box = Child(main_, "Check1_" + std::to_string(i));
    EXPECT_EQ(TextOf(box), kComponents[i - 1]);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  }
  EXPECT_EQ(TextOf(Child(main_, "Text1")), "c:\\windows\\sysWOW64\\");
  EXPECT_EQ(GetFocus(), Child(main_, "Text2"));
  EXPECT_NE(GetWindowLongW(main_, GWL_STYLE) & WS_MINIMIZEBOX, 0) << "only the main window can be minimised";
}

TEST_F(GuiFormsTest, InstallationEndsWithTheReportInItsWindowAndThenTheProgramEnds) {
  host_.files.AddFile("c:\\windows\\sysWOW64\\regsvr32.exe", "20080414");
  host_.files.AddFile("c:\\windows\\sysWOW64\\msinet.ocx", "20010101");
  for (const char* name : kComponents) host_.files.AddFile(name, "20240301");
  form2_->Check1(2).SetValue(0);

  std::string report;
  bool report_focused = false;
  bool main_enabled = true;
  LONG style = WS_MINIMIZEBOX;
  bool kept_after_escape = false;
  RunSoon([&] {
    HWND form3 = OwnWindow(L"Installationsrapport");
    HWND text1 = Child(form3, "Text1");
    report = TextOf(text1);
    report_focused = GetFocus() == text1;
    main_enabled = IsWindowEnabled(main_);
    style = GetWindowLongW(form3, GWL_STYLE);
    // Escape in the report does nothing: only the title bar closes the window.
    PostMessageW(text1, WM_KEYDOWN, VK_ESCAPE, 0);
    RunSoon([&, form3] {
      kept_after_escape = IsWindowVisible(form3);
      PostMessageW(form3, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
  });
  EXPECT_THROW(Click(form2_->Command1), fake::ProgramEnded);

  EXPECT_NE(report.find("comdlg32.ocx  20240301  \tInlagd"), std::string::npos) << report;
  EXPECT_NE(report.find("msinet.ocx  20240301  \tBefintlig fil: 20010101  \tInlagd"), std::string::npos) << report;
  EXPECT_EQ(report.find("msflxgrd.ocx"), std::string::npos) << report;
  EXPECT_TRUE(report_focused);
  EXPECT_FALSE(main_enabled);
  EXPECT_TRUE(kept_after_escape);
  EXPECT_EQ(style & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(host_.processes.Started().size(), 7u);
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
