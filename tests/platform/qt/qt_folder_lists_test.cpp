#include <QComboBox>
#include <QTest>
#include <QTreeWidget>

#include "tests/platform/qt/qt_kit_fixture.h"

namespace {

class QtFolderListsTest : public QtKitTest {
 protected:
  QtFolderListsTest() {
    files_.AddDrive("d:");
    files_.AddDrive("e:");
    files_.SetCurrentFolder("c:\\ebrona\\komponenter");
    files_.AddFolder("c:\\ebrona\\komponenter\\arkiv");
    files_.AddFolder("c:\\ebrona\\komponenter\\gamla");
    files_.AddFolder("d:\\kopior");
    files_.InjectFailure(fake::Op::kDriveCurrentFolder, "e:", "The device is not ready.");
  }

  // Each entry's text, indented by its depth in the list.
  static std::vector<std::string> Entries(const QTreeWidget& tree) {
    std::vector<std::string> entries;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it) {
      int depth = 0;
      for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent()) ++depth;
      entries.push_back(std::string(depth * 2, ' ') + (*it)->text(0).toStdString());
    }
    return entries;
  }
};

TEST_F(QtFolderListsTest, DriveListStartsOnTheProcessDriveAndRaisesChangeOnEveryChange) {
  files_.SetCurrentFolder("d:\\kopior");
  auto window = NewWindow(2790, 3870);
  platform::DriveList& drives = window->AddDriveList(Design("Drive1", "", 0, 0, 2790, 315, 3));
  auto& combo = Find<QComboBox>(*window, "Drive1");
  EXPECT_EQ(combo.count(), 3);
  EXPECT_EQ(combo.itemText(0), "c:");
  EXPECT_EQ(drives.Drive(), "d:");

  std::vector<std::string> seen;
  drives.OnChange([&] { seen.push_back(drives.Drive()); });
  EXPECT_TRUE(drives.SetDrive("C:\\").ok());
  EXPECT_TRUE(drives.SetDrive("c:").ok());  // no change, no event
  EXPECT_TRUE(drives.SetDrive("e:\\kopior").ok());
  const platform::Status unknown = drives.SetDrive("x:");
  EXPECT_FALSE(unknown.ok());
  EXPECT_FALSE(unknown.text().empty());
  EXPECT_EQ(drives.Drive(), "e:");
  EXPECT_EQ(seen, (std::vector<std::string>{"c:", "e:"}));

  window->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(*window)));
  combo.setFocus();
  QTest::keyClick(&combo, Qt::Key_Up);  // the user picks the drive above
  EXPECT_EQ(seen.back(), "d:");
}

TEST_F(QtFolderListsTest, ChangeHandlerMayReturnToThePreviousDrive) {
  auto window = NewWindow(2790, 3870);
  platform::DriveList& drives = window->AddDriveList(Design("Drive1", "", 0, 0, 2790, 315, 3));
  platform::DirectoryList& folders = window->AddDirectoryList(Design("Dir1", "", 0, 345, 2775, 2115, 2));
  std::vector<std::string> shown;
  drives.OnChange([&] {
    const platform::Status moved = folders.SetPath(drives.Drive());
    if (!moved.ok()) {
      EXPECT_TRUE(drives.SetDrive(folders.Path()).ok());  // raises this handler again, inside
    }
    shown.push_back(drives.Drive() + " " + folders.Path());
  });
  EXPECT_TRUE(drives.SetDrive("e:").ok());
  EXPECT_EQ(drives.Drive(), "c:");
  EXPECT_EQ(folders.Path(), "c:\\ebrona\\komponenter");
  EXPECT_EQ(shown, (std::vector<std::string>{"c: c:\\ebrona\\komponenter", "c: c:\\ebrona\\komponenter"}));
}

TEST_F(QtFolderListsTest, DirectoryListShowsAncestorsThenSubFoldersAndMovesOnlyWhenOpened) {
  auto window = NewWindow(2790, 3870);
  platform::DirectoryList& folders = window->AddDirectoryList(Design("Dir1", "", 0, 345, 2775, 2115, 2));
  auto& tree = Find<QTreeWidget>(*window, "Dir1");
  EXPECT_EQ(folders.Path(), "c:\\ebrona\\komponenter");
  EXPECT_EQ(Entries(tree), (std::vector<std::string>{"c:\\", "  ebrona", "    komponenter", "      arkiv", "      gamla"}));
  EXPECT_EQ(tree.currentItem()->text(0), "komponenter");

  window->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(*window)));
  tree.setFocus();
  QTest::keyClick(&tree, Qt::Key_Down);  // highlights "arkiv"
  EXPECT_EQ(tree.currentItem()->text(0), "arkiv");
  EXPECT_EQ(folders.Path(), "c:\\ebrona\\komponenter");
  QTest::keyClick(&tree, Qt::Key_Return);  // opens it
  EXPECT_EQ(folders.Path(), "c:\\ebrona\\komponenter\\arkiv");
  EXPECT_EQ(Entries(tree).size(), 4u);

  const QTreeWidgetItem* root = tree.topLevelItem(0);
  const QPoint centre = tree.visualItemRect(root).center();
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, centre);  // highlights the root
  EXPECT_EQ(folders.Path(), "c:\\ebrona\\komponenter\\arkiv");
  QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, centre);
  EXPECT_EQ(folders.Path(), "c:\\");
  EXPECT_EQ(Entries(tree), (std::vector<std::string>{"c:\\", "  ebrona"}));
}

TEST_F(QtFolderListsTest, SettingThePathGoesToDrivesCurrentFolderOrFailsKeepingTheFolder) {
  files_.InjectFailure(fake::Op::kSubFolders, "c:\\ebrona\\komponenter\\gamla", "Access is denied.");
  auto window = NewWindow(2790, 3870);
  platform::DirectoryList& folders = window->AddDirectoryList(Design("Dir1", "", 0, 345, 2775, 2115, 2));
  auto& tree = Find<QTreeWidget>(*window, "Dir1");
  struct Case {
    const char* path;
    const char* failure;  // empty: succeeds
    const char* after;
  } cases[] = {
      {"d:", "", "d:\\"},
      {"d:\\kopior\\", "", "d:\\kopior"},
      {"c:", "", "c:\\ebrona\\komponenter"},
      {"e:", "The device is not ready.", "c:\\ebrona\\komponenter"},
      {"c:\\ebrona\\komponenter\\gamla", "Access is denied.", "c:\\ebrona\\komponenter"},
      {"c:\\saknas", fake::FakeFileSystem::kPathNotFound, "c:\\ebrona\\komponenter"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> before = Entries(tree);
    const platform::Status status = folders.SetPath(c.path);
    EXPECT_EQ(status.text(), c.failure) << c.path;
    EXPECT_EQ(folders.Path(), c.after) << c.path;
    if (!status.ok()) {
      EXPECT_EQ(Entries(tree), before) << c.path;
    }
  }
}

}  // namespace
