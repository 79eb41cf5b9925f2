// The window kit's promises, kept by the Qt kit on Qt's offscreen platform.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QProxyStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "platform/qt/qt_window.h"
#include "tests/support/fake_system.h"

namespace {

// The first kit of the run makes the application object, which must live until the last test ends
// and not beyond main.
std::unique_ptr<platform::WindowKit>& ApplicationKit() {
  static std::unique_ptr<platform::WindowKit> kit;
  return kit;
}
struct ApplicationEnd : ::testing::Environment {
  void TearDown() override { ApplicationKit().reset(); }
};
[[maybe_unused]] auto* const application_end = ::testing::AddGlobalTestEnvironment(new ApplicationEnd);

// A style that opens items on a single click, as some desktops' styles do.
struct SingleClickStyle : QProxyStyle {
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    return hint == SH_ItemView_ActivateItemOnSingleClick ? 1 : QProxyStyle::styleHint(hint, option, widget, data);
  }
};

using platform::Window;

// The Qt window kit over an in-memory file system, one for each test, and the user's hands on it.
class KitDriver : public ::testing::Test {
 protected:
  enum Key { kTab = Qt::Key_Tab, kEnter = Qt::Key_Return };

  platform::WindowKit& Kit() {
    static fake::FakeFileSystem first_files;
    std::string error;
    if (!ApplicationKit()) {
      ApplicationKit() = platform::NewNativeWindowKit(first_files, error);
      QApplication::setStyle(new SingleClickStyle);  // lists must not open what a click highlights
    }
    if (!kit_) kit_ = platform::NewNativeWindowKit(files_, error);
    return *kit_;
  }
  static QWidget& WidgetOf(Window& window) { return dynamic_cast<platform::qt::QtWindow&>(window).widget(); }
  template <class T = QWidget>
  static T& Find(Window& window, const char* name) {
    T* child = WidgetOf(window).findChild<T*>(QString::fromLatin1(name));
    return child != nullptr ? *child : throw std::runtime_error(std::string("no control ") + name);
  }

  static std::pair<int, int> ControlPixels(Window& window, const char* name) {
    const QRect rect = Find(window, name).geometry();
    return {rect.x(), rect.x() + rect.width()};
  }
  static std::pair<int, int> ClientPixels(Window& w) { return {WidgetOf(w).width(), WidgetOf(w).height()}; }
  static std::array<int, 3> OuterPixels(Window& window) {
    const QRect frame = WidgetOf(window).frameGeometry();
    return {frame.x(), frame.width(), frame.height()};
  }
  static bool Resizable(Window& window) { return WidgetOf(window).minimumSize() != WidgetOf(window).maximumSize(); }
  static bool HasMinimiseButton(Window& w) { return WidgetOf(w).windowFlags() & Qt::WindowMinimizeButtonHint; }
  static void MoveNatively(Window& window, int x, int y) { WidgetOf(window).move(x, y); }
  static void WaitShown(Window& window) { ASSERT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(window))); }
  static bool TakesInput(Window& window) {
    return QApplication::activeModalWidget() == nullptr || QApplication::activeModalWidget() == &WidgetOf(window);
  }
  static void Press(Key key) { QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key)); }
  static std::string Focused() { return QApplication::focusWidget()->objectName().toStdString(); }
  static void Soon(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }
  static void CloseByTitleBar(Window& window) { WidgetOf(window).close(); }
  static void ClickBox(Window& window, const char* name) { Find<QAbstractButton>(window, name).click(); }
  static bool MultiLineWithoutScrollBars(Window& window, const char* name) {
    auto& editor = Find<QAbstractScrollArea>(window, name);
    return editor.inherits("QPlainTextEdit") && editor.verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff &&
           editor.horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff;
  }
  static std::string AccessibleName(Window& window, const char* name) {
    return QAccessible::queryAccessibleInterface(&Find(window, name))->text(QAccessible::Name).toStdString();
  }
  static void UserPicksDriveAbove(Window& window) { QTest::keyClick(&Find<QComboBox>(window, "Drive1"), Qt::Key_Up); }

  // The folder list's rows from the top down; "> " marks the highlighted one.
  static std::vector<std::string> FolderRows(Window& window) {
    std::vector<std::string> rows;
    for (QTreeWidgetItemIterator it(&Tree(window)); *it != nullptr; ++it) {
      rows.push_back((*it == Tree(window).currentItem() ? "> " : "") + (*it)->text(0).toStdString());
    }
    return rows;
  }
  static QTreeWidget& Tree(Window& window) { return Find<QTreeWidget>(window, "Dir1"); }
  static QPoint At(Window& window, int row) {
    QTreeWidgetItemIterator it(&Tree(window));
    return Tree(window).visualItemRect(*(it += row)).center();
  }
  static void Highlight(Window& window, int row) {
    QTest::mouseClick(Tree(window).viewport(), Qt::LeftButton, {}, At(window, row));
  }
  // A double-click as the user makes it: a click, then the double-click.
  static void DoubleClick(Window& window, int row) {
    Highlight(window, row);
    QTest::mouseDClick(Tree(window).viewport(), Qt::LeftButton, {}, At(window, row));
  }

  fake::FakeFileSystem files_;
  std::unique_ptr<platform::WindowKit> kit_;
};

}  // namespace

#include "tests/platform/window_kit_conformance.h"
