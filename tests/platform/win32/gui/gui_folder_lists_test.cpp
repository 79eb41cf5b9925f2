#include "tests/platform/win32/gui/gui_fixture.h"

namespace {

using Rows = std::vector<std::string>;

class GuiFolderListsTest : public GuiTest {
 protected:
  void SetUp() override {
    host_.files.AddFolder("c:\\ebrona\\Kopior");
    host_.files.AddFolder("c:\\ebrona\\arkiv\\2024");
    host_.files.AddDrive("d:");
    host_.files.AddDrive("e:");
    GuiTest::SetUp();
    window_ = kit_->NewWindow({"Form4", "Välj/skapa mapp", 2790, 3870, false});
  }

  Rows ListRows() {
    Rows rows;
    HWND list = Child(*window_, "Dir1");
    for (LRESULT row = 0; row < SendMessageW(list, LB_GETCOUNT, 0, 0); ++row) {
      wchar_t text[MAX_PATH];
      const auto length = SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
      rows.push_back(platform::win32::Utf8FromWide(std::wstring(text, static_cast<std::size_t>(length))));
    }
    return rows;
  }

  std::unique_ptr<platform::Window> window_;
};

TEST_F(GuiFolderListsTest, DriveListRaisesEveryChangeByTheProgramOrTheUser) {
  platform::DriveList& drives = window_->AddDriveList(Design("Drive1", "", 0, 0, 2790, 315, 3));
  std::vector<std::string> changes;
  drives.OnChange([&] { changes.push_back(drives.Drive()); });
  EXPECT_TRUE(drives.SetDrive("D:\\kopior").ok());
  EXPECT_TRUE(drives.SetDrive("d:").ok());  // no change, no event
  EXPECT_FALSE(drives.SetDrive("x:\\").ok());
  HWND combo = Child(*window_, "Drive1");
  SendMessageW(combo, CB_SETCURSEL, 2, 0);  // the user picks e: from the closed list
  SendMessageW(HandleOf(*window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(changes, (std::vector<std::string>{"d:", "e:"}));
}

TEST_F(GuiFolderListsTest, DirectoryListOpensOnDoubleClickOrEnterButNotOnHighlighting) {
  platform::DirectoryList& list = window_->AddDirectoryList(Design("Dir1", "", 0, 345, 2775, 2115, 2));
  window_->Show();
  HWND handle = Child(*window_, "Dir1");
  EXPECT_EQ(ListRows(), (Rows{"c:\\", "   ebrona", "      arkiv", "      kopior"}));
  // The user highlights a row, as the list notifies it, then double-clicks it.
  const auto notify = [&](WORD code) {
    SendMessageW(HandleOf(*window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle), code),
                 reinterpret_cast<LPARAM>(handle));
  };
  SendMessageW(handle, LB_SETCURSEL, 2, 0);
  notify(LBN_SELCHANGE);
  EXPECT_EQ(list.Path(), "c:\\ebrona");
  notify(LBN_DBLCLK);
  EXPECT_EQ(ListRows(), (Rows{"c:\\", "   ebrona", "      arkiv", "         2024"}));

  SendMessageW(handle, LB_SETCURSEL, 0, 0);
  list.SetFocus();
  PostMessageW(handle, WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(list.Path(), "c:\\");
}

TEST_F(GuiFolderListsTest, SetPathKeepsTheFolderAndItsRowsOnFailure) {
  platform::DirectoryList& list = window_->AddDirectoryList(Design("Dir1", "", 0, 345, 2775, 2115, 2));
  host_.files.InjectFailure(fake::Op::kSubFolders, "c:\\ebrona\\arkiv", "Åtkomst nekad.");
  host_.files.InjectFailure(fake::Op::kDriveCurrentFolder, "e:", "Enheten är inte klar.");
  ASSERT_TRUE(list.SetPath("c:\\ebrona\\kopior\\").ok());
  const Rows rows = ListRows();
  for (const char* path : {"c:\\ebrona\\arkiv", "e:"}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(list.SetPath(path).text().empty());
    EXPECT_EQ(list.Path(), "c:\\ebrona\\kopior");
    EXPECT_EQ(ListRows(), rows);
  }
  EXPECT_TRUE(list.SetPath("d:").ok());
  EXPECT_EQ(list.Path(), "d:\\");
}

}  // namespace
