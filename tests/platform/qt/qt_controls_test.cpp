#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "tests/platform/qt/qt_kit_fixture.h"

namespace {

TEST_F(QtKitTest, ButtonActsOnClickSpaceOrEnterOnlyWhileItHasTheFocus) {
  auto window = NewWindow();
  window->AddTextBox(Design("Text1", "", 0, 0, 3000, 285, 0));
  platform::Button& button = window->AddButton(Design("Command1", "OK", 417, 3390, 855, 360, 1));
  int clicks = 0;
  button.OnClick([&] { ++clicks; });
  window->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(*window)));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_EQ(clicks, 0) << "no default button";
  EXPECT_TRUE(window->IsVisible()) << "no cancel button";
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_TRUE(button.HasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QTest::mouseClick(&Find<QPushButton>(*window, "Command1"), Qt::LeftButton);
  EXPECT_EQ(clicks, 3);
}

TEST_F(QtKitTest, CheckBoxHoldsThreeValuesAndAClickOnlyTicksOrUnticks) {
  auto window = NewWindow();
  platform::CheckBox& box = window->AddCheckBox(Design("Check1_3", "", 210, 1320, 2055, 375, 10));
  box.SetCaption("msmapi32.ocx");
  QCheckBox& widget = Find<QCheckBox>(*window, "Check1_3");
  EXPECT_EQ(widget.text(), "msmapi32.ocx");
  struct Case {
    std::int16_t value;
    Qt::CheckState shown;
    std::int16_t after_click;
  } cases[] = {{0, Qt::Unchecked, 1}, {1, Qt::Checked, 0}, {2, Qt::PartiallyChecked, 1}};
  for (const Case& c : cases) {
    box.SetValue(c.value);
    EXPECT_EQ(box.Value(), c.value);
    EXPECT_EQ(widget.checkState(), c.shown);
    widget.click();
    EXPECT_EQ(box.Value(), c.after_click) << "clicked at " << c.value;
    widget.click();
    EXPECT_NE(box.Value(), 2) << "a click never greys the box";
  }
}

TEST_F(QtKitTest, MultiLineTextBoxKeepsCrLfLinesWrapsAtWordsAndHasNoScrollBars) {
  auto window = kit_->NewWindow({"Form3", "Installationsrapport", 6585, 4500, false});
  platform::TextBox& text = window->AddTextBox(Design("Text1", "", 15, 45, 6525, 4410), {true, false});
  const std::string report = "Rapport\r\n\r\ncomdlg32.ocx\tinstallerad\r\nslut";
  text.SetText(report);
  EXPECT_EQ(text.Text(), report);
  auto& editor = Find<QPlainTextEdit>(*window, "Text1");
  EXPECT_EQ(editor.document()->blockCount(), 4);
  EXPECT_EQ(editor.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(editor.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(editor.lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_FALSE(editor.isReadOnly());

  // One long line takes several lines on screen, broken at blanks.
  std::string words;
  for (int i = 0; i < 40; ++i) words += "kopieringen misslyckades ";
  text.SetText(words);
  window->Show();
  EXPECT_GT(editor.document()->firstBlock().layout()->lineCount(), 3);
  const QTextLayout* layout = editor.document()->firstBlock().layout();
  const QString first_line = editor.toPlainText().mid(0, layout->lineAt(0).textLength());
  EXPECT_TRUE(first_line.endsWith(' ')) << first_line.toStdString();

  platform::TextBox& line = window->AddTextBox(Design("Text2", "c:\\windows\\", 0, 0, 3000, 285));
  EXPECT_EQ(line.Text(), "c:\\windows\\");
}

TEST_F(QtKitTest, LabelWrapsAndTakesFontAndColours) {
  auto window = NewWindow();
  platform::ControlSpec design = Design("Label3", "Spara kopior av överskrivna filer i", 2310, 1350, 1290, 675, 14);
  design.background = platform::Colour::Rgb(224, 224, 224);
  design.foreground = platform::Colour::WindowText();
  design.font = {"MS Sans Serif", 8.25f, true};
  platform::Label& label = window->AddLabel(design);
  EXPECT_EQ(label.Caption(), "Spara kopior av överskrivna filer i");
  auto& widget = Find<QLabel>(*window, "Label3");
  EXPECT_TRUE(widget.wordWrap());
  EXPECT_TRUE(widget.autoFillBackground());
  EXPECT_EQ(widget.palette().color(QPalette::Window), QColor(224, 224, 224));
  EXPECT_EQ(widget.font().pointSizeF(), 8.25);
  EXPECT_TRUE(QFontInfo(widget.font()).bold());
  EXPECT_FALSE(QFontInfo(widget.font()).fixedPitch()) << "a missing family falls back to a sans-serif font";
}

}  // namespace
