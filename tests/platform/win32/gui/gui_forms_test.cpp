// The three windows on the real Win32 window kit, over the in-memory host.
#include "platform/win32/gui/basic_controls.h"
#include "platform/win32/gui/dpi.h"
#include "platform/win32/text_conversion.h"
#include "tests/platform/win32/gui/gui_fixture.h"
#include "ui/form2.h"

namespace {

using platform::win32::TwipsToPixels;
using platform::win32::Utf8FromWide;

constexpr const char* kComponents[] = {"comdlg32.ocx", "msflxgrd.ocx", "msmapi32.ocx", "tabctl32.ocx",
                                       "msinet.ocx",   "riched32.dll", "richtx32.ocx", "pdf_itb.ocx"};

std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Utf8FromWide(text);
}

// A shown top-level window of the kit, by caption.
HWND KitWindow(const wchar_t* caption) { return FindWindowW(platform::win32::kWindowClass, caption); }

class GuiFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.files.AddFile("c:\\windows\\sysWOW64\\msvbvm60.dll", "20080414");
    std::string error;
    kit_ = platform::NewNativeWindowKit(host_.files, error);
    ASSERT_NE(kit_, nullptr) << error;
    form2_ = std::make_unique<ui::Form2>(*kit_, host_.system);
    form2_->Form_Load();
    form2_->Show();
    main_ = platform::win32::NativeWindowFor(form2_->window());
  }

  // A click on the button, as BN_CLICKED delivers it, straight into the kit's button.
  static void Click(platform::Button& button) { dynamic_cast<platform::win32::NativeButton&>(button).Notify(BN_CLICKED); }
  HWND Child(const std::string& name) const { return platform::win32::FindChildByName(main_, name); }

  fake::FakeSystem host_;
  std::unique_ptr<platform::WindowKit> kit_;
  std::unique_ptr<ui::Form2> form2_;
  HWND main_ = nullptr;
};

TEST_F(GuiFormsTest, MainWindowAfterLoadShowsTheCheckBoxesTheFolderAndTheFocusInText2) {
  const UINT dpi = platform::win32::WindowDpi(main_);
  for (int i = 1; i <= 8; ++i) {
    SCOPED_TRACE(i);
    HWND box = Child("Check1_" + std::to_string(i));
    EXPECT_EQ(TextOf(box), kComponents[i - 1]);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    const RECT rect = ClientRectOf(box);
    EXPECT_EQ(rect.left, TwipsToPixels(210, dpi));
    EXPECT_EQ(rect.right, TwipsToPixels(210 + 2055, dpi));
    EXPECT_EQ(rect.top, TwipsToPixels(645 + 375.0f * static_cast<float>(i - 1), dpi));
  }
  const RECT text1 = ClientRectOf(Child("Text1"));
  const RECT text2 = ClientRectOf(Child("Text2"));
  EXPECT_EQ(text2.left, text1.left);
  EXPECT_EQ(text2.right, text1.right);
  EXPECT_EQ(TextOf(Child("Text1")), "c:\\windows\\sysWOW64\\");
  EXPECT_EQ(TextOf(Child("Text2")), "");
  EXPECT_EQ(TextOf(main_), "Installera systemfiler för Ebronaprogrammen");
  EXPECT_EQ(form2_->window().Left(), kit_->ScreenWidth() / 5);
  EXPECT_EQ(form2_->window().Top(), kit_->ScreenHeight() / 6);
  EXPECT_EQ(GetFocus(), Child("Text2"));
  EXPECT_EQ(GetWindowLongW(main_, GWL_STYLE) & WS_THICKFRAME, 0);
}

TEST_F(GuiFormsTest, InstallationEndsWithTheReportInItsWindowAndThenTheProgramEnds) {
  host_.files.AddFile("c:\\windows\\sysWOW64\\regsvr32.exe", "20080414");
  host_.files.AddFile("c:\\windows\\sysWOW64\\msinet.ocx", "20010101");
  for (const char* name : kComponents) host_.files.AddFile(name, "20240301");
  form2_->Check1(2).SetValue(0);

  std::string report;
  bool report_focused = false;
  bool main_enabled = true;
  RunSoon([&] {
    HWND form3 = KitWindow(L"Installationsrapport");
    HWND text1 = platform::win32::FindChildByName(form3, "Text1");
    report = TextOf(text1);
    report_focused = GetFocus() == text1;
    main_enabled = IsWindowEnabled(main_);
    PostMessageW(form3, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_THROW(Click(form2_->Command1), fake::ProgramEnded);

  EXPECT_NE(report.find("comdlg32.ocx  20240301  \tInlagd"), std::string::npos) << report;
  EXPECT_NE(report.find("msinet.ocx  20240301  \tBefintlig fil: 20010101  \tInlagd"), std::string::npos) << report;
  EXPECT_EQ(report.find("msflxgrd.ocx"), std::string::npos) << report;
  EXPECT_TRUE(report_focused);
  EXPECT_FALSE(main_enabled);
  EXPECT_EQ(host_.processes.Started().size(), 7u);
}

TEST_F(GuiFormsTest, ChooserOkCreatesTheTypedFolderAndWritesItIntoText2) {
  host_.files.AddFolder("c:\\ebrona\\arkiv");
  bool main_enabled = true;
  RunSoon([&] {
    HWND form4 = KitWindow(L"Välj/skapa mapp");
    main_enabled = IsWindowEnabled(main_);
    SetWindowTextW(platform::win32::FindChildByName(form4, "Text1"), L"  Nya kopior \u00e5\u00e4\u00f6 ");
    SendMessageW(platform::win32::FindChildByName(form4, "Command1"), BM_CLICK, 0, 0);
  });
  Click(form2_->Command4);

  EXPECT_FALSE(main_enabled);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(form2_->Text2.Text(), "c:\\ebrona\\Nya kopior åäö");
  EXPECT_EQ(host_.files.FoldersMade(), (std::vector<std::string>{"c:\\ebrona\\nya kopior åäö"}));
  EXPECT_FALSE(IsWindowVisible(KitWindow(L"Välj/skapa mapp")));
}

}  // namespace
