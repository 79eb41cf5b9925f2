#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QProxyStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/qt/qt_window.h"
#include "platform/window_kit.h"
#include "tests/support/fake_system.h"

// The first kit of the run: it makes the application object, which must live until the last test
// ends and not beyond main. Made by the first test that needs it, so that a death test can still
// see a process without one.
inline std::unique_ptr<platform::WindowKit>& ApplicationKit() {
  static std::unique_ptr<platform::WindowKit> kit;
  return kit;
}

// A style that opens items on a single click, as some desktops' styles do.
struct SingleClickStyle : QProxyStyle {
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    return hint == SH_ItemView_ActivateItemOnSingleClick ? 1 : QProxyStyle::styleHint(hint, option, widget, data);
  }
};

// The Qt window kit on Qt's offscreen platform over an in-memory file system, one for each test,
// and the user's hands on its widgets.
class KitDriver : public ::testing::Test {
 protected:
  enum Key { kTab = Qt::Key_Tab, kEnter = Qt::Key_Return };

  platform::WindowKit& Kit() {
    static fake::FakeFileSystem first_files;
    std::string error;
    if (!ApplicationKit()) ApplicationKit() = platform::NewNativeWindowKit(first_files, error);
    if (!kit_) kit_ = platform::NewNativeWindowKit(files_, error);
    return *kit_;
  }
  static QWidget& WidgetOf(platform::Window& window) { return dynamic_cast<platform::qt::QtWindow&>(window).widget(); }
  template <class T>
  static T& Find(platform::Window& window, const char* name) {
    T* child = WidgetOf(window).findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *child;
  }

  static std::pair<int, int> ControlPixels(platform::Window& window, const char* name) {
    const QRect rect = Find<QWidget>(window, name).geometry();
    return {rect.left(), rect.left() + rect.width()};
  }
  static std::pair<int, int> ClientPixels(platform::Window& window) {
    return {WidgetOf(window).width(), WidgetOf(window).height()};
  }
  static std::array<int, 3> OuterPixels(platform::Window& window) {
    const QRect frame = WidgetOf(window).frameGeometry();
    return {frame.x(), frame.width(), frame.height()};
  }
  static bool Resizable(platform::Window& window) {
    return WidgetOf(window).minimumSize() != WidgetOf(window).maximumSize();
  }
  static bool HasMinimiseButton(platform::Window& window) {
    return WidgetOf(window).windowFlags().testFlag(Qt::WindowMinimizeButtonHint);
  }
  static void MoveNatively(platform::Window& window, int x, int y) { WidgetOf(window).move(x, y); }
  static void WaitShown(platform::Window& window) { ASSERT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(window))); }
  static bool TakesInput(platform::Window& window) {
    return QApplication::activeModalWidget() == nullptr || QApplication::activeModalWidget() == &WidgetOf(window);
  }
  static void Press(Key key) { QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key)); }
  static std::string Focused() { return QApplication::focusWidget()->objectName().toStdString(); }
  static void Soon(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }
  static void CloseByTitleBar(platform::Window& window) { WidgetOf(window).close(); }
  static void ClickBox(platform::Window& window, const char* name) { Find<QAbstractButton>(window, name).click(); }
  static bool MultiLineWithoutScrollBars(platform::Window& window, const char* name) {
    auto& editor = Find<QAbstractScrollArea>(window, name);
    return editor.inherits("QPlainTextEdit") && editor.verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff &&
           editor.horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff;
  }
  static void UserPicksDriveAbove(platform::Window& window) {
    QTest::keyClick(&Find<QComboBox>(window, "Drive1"), Qt::Key_Up);
  }

  // The folder list's entries, from the top down.
  static std::vector<QTreeWidgetItem*> Items(platform::Window& window) {
    std::vector<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(&Find<QTreeWidget>(window, "Dir1")); *it != nullptr; ++it) items.push_back(*it);
    return items;
  }
  static std::vector<std::string> FolderRows(platform::Window& window) {
    std::vector<std::string> rows;
    for (QTreeWidgetItem* item : Items(window)) rows.push_back(item->text(0).toStdString());
    return rows;
  }
  static int HighlightedRow(platform::Window& window) {
    const auto items = Items(window);
    return static_cast<int>(std::find(items.begin(), items.end(), Find<QTreeWidget>(window, "Dir1").currentItem()) -
                            items.begin());
  }
  // Highlighted by a single click under a style that opens items on a single click.
  static void Highlight(platform::Window& window, int row) {
    auto& tree = Find<QTreeWidget>(window, "Dir1");
    SingleClickStyle single_click;
    tree.setStyle(&single_click);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(Items(window)[row]).center());
    tree.setStyle(nullptr);
  }
  // A double-click as the user makes it: a click, then the double-click.
  static void DoubleClick(platform::Window& window, int row) {
    auto& tree = Find<QTreeWidget>(window, "Dir1");
    const QPoint at = tree.visualItemRect(Items(window)[row]).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
  }

  fake::FakeFileSystem files_;
  std::unique_ptr<platform::WindowKit> kit_;
};
