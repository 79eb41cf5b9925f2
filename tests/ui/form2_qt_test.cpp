#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/window_kit.h"
#include "tests/support/fake_system.h"
#include "ui/form2.h"

// The main window on the real Qt window kit (offscreen) with the in-memory host: what the keyboard
// does, and an installation from "Installera" to the report window.
namespace {

QWidget* TopLevel(const char* name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String(name) && widget->isVisible()) return widget;
  }
  return nullptr;
}

std::string FocusName() {
  QWidget* focus = QApplication::focusWidget();
  return focus != nullptr ? focus->objectName().toStdString() : "";
}

void PressTab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

// Form2 loaded and shown, with the focus in its first control.
struct QtForm2 {
  explicit QtForm2(platform::ProgramEnd& end) : system{host.files, host.processes, host.clock, end} {
    host.files.AddFile("c:\\windows\\sysWOW64\\msvbvm60.dll", "20080414");
    host.files.AddFile("c:\\windows\\sysWOW64\\regsvr32.exe", "20080414");
    host.files.AddFile("comdlg32.ocx", "20240301");
    kit = platform::NewNativeWindowKit(host.files, error);
    if (!kit) return;
    form2 = std::make_unique<ui::Form2>(*kit, system);
    form2->Form_Load();
    form2->Show();
    ready = TopLevel("Form2") != nullptr && QTest::qWaitForWindowActive(TopLevel("Form2")) &&
            QTest::qWaitFor([] { return FocusName() == "Text2"; });
  }

  fake::FakeSystem host;
  platform::System system;
  std::string error;
  std::unique_ptr<platform::WindowKit> kit;
  std::unique_ptr<ui::Form2> form2;
  bool ready = false;
};

TEST(Form2OnQt, FocusStartsInText2AndTabFollowsTheTabIndices) {
  fake::FakeProgramEnd end;
  QtForm2 f(end);
  ASSERT_TRUE(f.ready) << f.error << " focus: " << FocusName();

  const std::vector<std::string> expected{"Check1_8", "Text1",    "Command3", "Command2", "Command1",
                                          "Check1_7", "Check1_6", "Check1_5", "Check1_4", "Check1_3",
                                          "Check1_2", "Check1_1", "Command4", "Text2"};
  std::vector<std::string> visited;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    PressTab();
    visited.push_back(FocusName());
  }
  EXPECT_EQ(visited, expected);
}

// Ends the child process that a death test runs, after saying what the report window showed.
class ReportingProgramEnd : public platform::ProgramEnd {
 public:
  std::string seen;
  [[noreturn]] void EndNow() override {
    std::fprintf(stderr, "program ended after: %s\n", seen.c_str());
    std::fflush(stderr);
    std::_Exit(0);
  }
};

void InstallWithTheKeyboard() {
  ReportingProgramEnd end;
  QtForm2 f(end);
  if (!f.ready) return;
  // Inside the report window's modal showing: note what it shows, then close it by its title bar.
  QTimer::singleShot(0, [&end] {
    QWidget* report = nullptr;
    if (!QTest::qWaitFor([&report] { return (report = TopLevel("Form3")) != nullptr; })) return;
    auto* text1 = report->findChild<QPlainTextEdit*>("Text1");
    if (text1 == nullptr) return;
    const bool focused = QTest::qWaitFor([text1] { return text1->hasFocus(); });
    const QString text = text1->toPlainText();
    const QString line = text.mid(text.indexOf("comdlg32")).section(QLatin1Char('\n'), 0, 0);
    end.seen = report->windowTitle().toStdString() + "; focus " + (focused ? FocusName() : "elsewhere") + "; " +
               line.toStdString();
    report->close();
  });
  for (int i = 0; i < 5; ++i) PressTab();  // Text2 -> Check1_8 -> Text1 -> Command3 -> Command2 -> Command1
  if (FocusName() != "Command1") return;
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
}

TEST(Form2OnQt, InstalleraWithTheKeyboardShowsTheReportAndClosingItEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(InstallWithTheKeyboard(), testing::ExitedWithCode(0),
              "program ended after: Installationsrapport; focus Text1; comdlg32.ocx  20240301  \tInlagd");
}

}  // namespace
