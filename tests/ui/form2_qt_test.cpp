#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <string>
#include <vector>

#include "platform/window_kit.h"
#include "tests/support/fake_system.h"
#include "ui/form2.h"

// The main window on the real Qt window kit (offscreen) with the in-memory host: the focus starts
// in Text2 and Tab walks the controls in the order of their tab indices.
namespace {

std::string FocusName() {
  QWidget* focus = QApplication::focusWidget();
  return focus != nullptr ? focus->objectName().toStdString() : "";
}

TEST(Form2OnQt, FocusStartsInText2AndTabFollowsTheTabIndices) {
  fake::FakeSystem host;
  std::string error;
  auto kit = platform::NewNativeWindowKit(host.files, error);
  ASSERT_NE(kit, nullptr) << error;
  ui::Form2 form2(*kit, host.system);
  form2.Form_Load();
  form2.Show();
  ASSERT_TRUE(QTest::qWaitFor([] { return FocusName() == "Text2"; })) << "focus: " << FocusName();

  const std::vector<std::string> expected{"Check1_8", "Text1",    "Command3", "Command2", "Command1",
                                          "Check1_7", "Check1_6", "Check1_5", "Check1_4", "Check1_3",
                                          "Check1_2", "Check1_1", "Command4", "Text2"};
  std::vector<std::string> visited;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(FocusName());
  }
  EXPECT_EQ(visited, expected);
}

}  // namespace
