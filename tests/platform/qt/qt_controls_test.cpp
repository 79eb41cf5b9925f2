#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QTest>
#include <QTreeWidget>

#include "tests/platform/qt/qt_kit_fixture.h"

namespace {

TEST_F(QtKitTest, MultiLineTextBoxAndThreeValuedCheckBox) {
  auto window = NewWindow();
  platform::TextBox& text = window->AddTextBox(Design("Text1", 15, 45, 6525, 3600), {true, false});
  const std::string report = "Rapport\r\n\r\ncomdlg32.ocx\tinstallerad\r\nslut";
  text.SetText(report);
  EXPECT_EQ(text.Text(), report);
  auto& editor = Find<QPlainTextEdit>(*window, "Text1");
  EXPECT_EQ(editor.document()->blockCount(), 4);
  EXPECT_EQ(editor.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(editor.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

  platform::CheckBox& box = window->AddCheckBox(Design("Check1_3", 210, 1320, 2055, 375));
  QCheckBox& widget = Find<QCheckBox>(*window, "Check1_3");
  // Each value as shown, and a click on it: a click only ticks or unticks.
  for (auto [value, shown, after_click] : {std::tuple{0, Qt::Unchecked, 1}, {1, Qt::Checked, 0},
                                           {2, Qt::PartiallyChecked, 1}}) {
    box.SetValue(static_cast<std::int16_t>(value));
    EXPECT_EQ(box.Value(), value);
    EXPECT_EQ(widget.checkState(), shown);
    widget.click();
    EXPECT_EQ(box.Value(), after_click) << "clicked at " << value;
  }
}

class QtFolderListsTest : public QtKitTest {
 protected:
  bool Arrange() {
    files_.AddDrive("d:");
    files_.AddDrive("e:");
    files_.SetCurrentFolder("c:\\ebrona\\komponenter");
    files_.AddFolder("c:\\ebrona\\komponenter\\arkiv");
    files_.AddFolder("d:\\kopior");
    files_.InjectFailure(fake::Op::kDriveCurrentFolder, "e:", "The device is not ready.");
    files_.InjectFailure(fake::Op::kSubFolders, "d:\\kopior", "Access is denied.");
    return true;
  }
  const bool arranged_ = Arrange();  // before the lists are made
  std::unique_ptr<platform::Window> window_ = NewWindow(2790, 3870);
  platform::DriveList& drives_ = window_->AddDriveList(Design("Drive1", 0, 0, 2790, 315, 3));
  platform::DirectoryList& folders_ = window_->AddDirectoryList(Design("Dir1", 0, 345, 2775, 2115, 2));
};

// Every change raises the handler: by the program, by the user, and by the handler itself going
// back to the drive shown.
TEST_F(QtFolderListsTest, DriveListRaisesChangeOnEveryChangeAlsoFromInsideTheHandler) {
  std::vector<std::string> seen;
  drives_.OnChange([&] {
    seen.push_back(drives_.Drive());
    if (!folders_.SetPath(drives_.Drive()).ok()) {
      EXPECT_TRUE(drives_.SetDrive(folders_.Path()).ok());
    }
  });
  EXPECT_EQ(drives_.Drive(), "c:");
  EXPECT_TRUE(drives_.SetDrive("c:\\").ok());  // no change, no event
  EXPECT_TRUE(drives_.SetDrive("D:\\kopior").ok());
  EXPECT_FALSE(drives_.SetDrive("x:").ok());
  EXPECT_TRUE(drives_.SetDrive("e:").ok());
  EXPECT_EQ(seen, (std::vector<std::string>{"d:", "e:", "d:"}));
  EXPECT_EQ(drives_.Drive() + " " + folders_.Path(), "d: d:\\");
  window_->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(*window_)));
  QTest::keyClick(&Find<QComboBox>(*window_, "Drive1"), Qt::Key_Up);  // the user picks the drive above
  EXPECT_EQ(seen.back(), "c:");
}

// A style that opens items on a single click, as some desktops' styles do.
struct SingleClickStyle : QProxyStyle {
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    return hint == SH_ItemView_ActivateItemOnSingleClick ? 1 : QProxyStyle::styleHint(hint, option, widget, data);
  }
};

TEST_F(QtFolderListsTest, DirectoryListMovesOnlyWhenAnEntryIsOpenedOrTheFolderCanBeRead) {
  auto& tree = Find<QTreeWidget>(*window_, "Dir1");
  window_->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(*window_)));
  tree.setFocus();
  QTest::keyClick(&tree, Qt::Key_Down);  // highlights "arkiv"
  EXPECT_EQ(tree.currentItem()->text(0), "arkiv");
  SingleClickStyle single_click;
  tree.setStyle(&single_click);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(tree.currentItem()).center());
  EXPECT_EQ(folders_.Path(), "c:\\ebrona\\komponenter");
  QTest::keyClick(&tree, Qt::Key_Return);
  EXPECT_EQ(folders_.Path(), "c:\\ebrona\\komponenter\\arkiv");
  const QPoint root = tree.visualItemRect(tree.topLevelItem(0)).center();
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, root);  // a double-click, as the user makes it
  QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, root);
  EXPECT_EQ(folders_.Path(), "c:\\");
  EXPECT_EQ(tree.topLevelItem(0)->childCount(), 1) << "the root shows its one sub-folder";
  tree.setStyle(nullptr);

  // A bare drive means its current folder; a folder that cannot be read keeps the one shown.
  for (auto [path, failure, after] : {std::tuple{"d:", "", "d:\\"}, {"c:\\ebrona\\", "", "c:\\ebrona"},
                                      {"e:", "The device is not ready.", "c:\\ebrona"},
                                      {"d:\\kopior", "Access is denied.", "c:\\ebrona"}}) {
    EXPECT_EQ(folders_.SetPath(path).text(), failure) << path;
    EXPECT_EQ(folders_.Path(), after) << path;
  }
}

}  // namespace
