#include "tests/platform/win32/gui/gui_fixture.h"

namespace {

class GuiFolderListsTest : public GuiTest {
 protected:
  void SetUp() override {
    files_.AddFolder("c:\\ebrona\\Kopior");
    files_.AddFolder("c:\\ebrona\\arkiv");
    files_.AddFolder("c:\\ebrona\\arkiv\\2024");
    files_.AddFolder("d:\\data");
    files_.AddDrive("e:");
    GuiTest::SetUp();
    window_ = kit_->NewWindow(WindowSpecOf("Form4", "Välj/skapa mapp", 2790, 3870));
  }

  std::vector<std::string> Rows() {
    HWND list = Child(*window_, "Dir1");
    std::vector<std::string> rows;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
      wchar_t text[MAX_PATH];
      const auto length = SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
      rows.push_back(std::string(text, text + length));  // the test's names are ASCII
    }
    return rows;
  }

  // The user highlights `row` and opens it with `how`.
  void Open(platform::DirectoryList& list, int row, bool by_keyboard) {
    HWND handle = Child(*window_, "Dir1");
    SendMessageW(handle, LB_SETCURSEL, row, 0);
    if (by_keyboard) {
      list.SetFocus();
      PostMessageW(handle, WM_KEYDOWN, VK_RETURN, 0);
      Pump();
    } else {
      SendMessageW(HandleOf(*window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle), LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(handle));
    }
  }

  std::unique_ptr<platform::Window> window_;
};

TEST_F(GuiFolderListsTest, DriveListOffersTheDrivesAndRaisesEveryChange) {
  platform::DriveList& drives = window_->AddDriveList(Design("Drive1", "", 0, 0, 2790, 315, 3));
  std::vector<std::string> changes;
  drives.OnChange([&] { changes.push_back(drives.Drive()); });
  EXPECT_EQ(drives.Drive(), "c:");  // the drive of the process's current folder
  HWND combo = Child(*window_, "Drive1");
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);

  EXPECT_TRUE(drives.SetDrive("D:\\kopior").ok());
  EXPECT_TRUE(drives.SetDrive("d:").ok());  // no change, no event
  EXPECT_FALSE(drives.SetDrive("x:\\").ok());
  EXPECT_FALSE(drives.SetDrive("").ok());
  EXPECT_EQ(drives.Drive(), "d:");

  // The user picks e: from the closed list.
  SendMessageW(combo, CB_SETCURSEL, 2, 0);
  SendMessageW(HandleOf(*window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(changes, (std::vector<std::string>{"d:", "e:"}));
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(GuiFolderListsTest, DirectoryListShowsAncestorsThenSubFoldersAndOpensOnlyOnRequest) {
  platform::DirectoryList& list = window_->AddDirectoryList(Design("Dir1", "", 0, 345, 2775, 2115, 2));
  window_->Show();
  EXPECT_EQ(list.Path(), "c:\\ebrona");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"c:\\", "   ebrona", "      arkiv", "      kopior"}));

  // Highlighting alone does not move.
  SendMessageW(Child(*window_, "Dir1"), LB_SETCURSEL, 2, 0);
  EXPECT_EQ(list.Path(), "c:\\ebrona");

  Open(list, 2, /*by_keyboard=*/false);
  EXPECT_EQ(list.Path(), "c:\\ebrona\\arkiv");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"c:\\", "   ebrona", "      arkiv", "         2024"}));
  Open(list, 0, /*by_keyboard=*/true);
  EXPECT_EQ(list.Path(), "c:\\");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"c:\\", "   ebrona"}));
}

TEST_F(GuiFolderListsTest, SetPathMovesToFoldersAndDrivesAndKeepsTheFolderOnFailure) {
  platform::DirectoryList& list = window_->AddDirectoryList(Design("Dir1", "", 0, 345, 2775, 2115, 2));
  files_.InjectFailure(fake::Op::kSubFolders, "c:\\ebrona\\arkiv", "Åtkomst nekad.");
  files_.InjectFailure(fake::Op::kDriveCurrentFolder, "e:", "Enheten är inte klar.");

  struct Step {
    std::string path;
    std::string failure;  // empty: succeeds
    std::string then;
  };
  const Step steps[] = {
      {"d:", "", "d:\\"},
      {"c:\\ebrona\\kopior\\", "", "c:\\ebrona\\kopior"},
      {"c:", "", "c:\\ebrona"},
      {"c:\\ebrona\\arkiv", "Åtkomst nekad.", "c:\\ebrona"},
      {"e:", "Enheten är inte klar.", "c:\\ebrona"},
      {"d:\\saknas", fake::FakeFileSystem::kPathNotFound, "c:\\ebrona"},
      {"d:\\data", "", "d:\\data"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.path);
    const std::vector<std::string> rows_before = Rows();
    platform::Status status = list.SetPath(step.path);
    EXPECT_EQ(status.text(), step.failure);
    EXPECT_EQ(list.Path(), step.then);
    if (!status.ok()) {
      EXPECT_EQ(Rows(), rows_before);
    }
  }
}

}  // namespace
