#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "tests/platform/qt/qt_kit_fixture.h"

namespace {

// The offscreen screen has 96 dots per inch: 15 twips make a pixel.
TEST_F(QtKitTest, TwipsBecomeWholePixelsAndReadBackAsSetWhileThePixelsStand) {
  for (auto [twips, pixels] : {std::pair{210.0f, 14}, {-15.0f, -1}, {22.0f, 1}, {23.0f, 2}}) {
    auto window = NewWindow();
    platform::Button& button = window->AddButton(Design("Command1", twips, 0, 1500, 375));
    QWidget& widget = Find<QWidget>(*window, "Command1");
    EXPECT_EQ(widget.x(), pixels) << twips;
    button.SetTop(375.5f);
    EXPECT_EQ(button.Top(), 375.5f);
    EXPECT_EQ(button.Left(), twips) << "moving one way keeps the other value";
    widget.move(widget.x() + 1, widget.y());
    EXPECT_EQ(button.Left(), (pixels + 1) * 15.0f) << "a pixel value Qt changed is read afresh";
  }
}

TEST_F(QtKitTest, WindowHasFixedClientAreaAndOuterGeometryInTwips) {
  auto window = NewWindow(7110, 3765);
  QWidget& widget = WidgetOf(*window);
  EXPECT_TRUE(widget.minimumSize() == QSize(474, 251) && widget.maximumSize() == QSize(474, 251));
  EXPECT_FALSE(widget.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(WidgetOf(*kit_->NewWindow({"Form2", "Prov", 7110, 3765, false, true})).windowFlags() &
              Qt::WindowMinimizeButtonHint);
  window->SetLeft(kit_->ScreenWidth() / 5);
  window->SetTop(kit_->ScreenHeight() / 6);
  window->Show();
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  EXPECT_EQ(kit_->ScreenWidth(), screen.width() * 15.0f);
  EXPECT_EQ(window->Left(), kit_->ScreenWidth() / 5);
  EXPECT_EQ(widget.frameGeometry().topLeft(), QPoint(qRound(screen.width() / 5.0), qRound(screen.height() / 6.0)));
  EXPECT_EQ(window->Width(), widget.frameGeometry().width() * 15.0f);
  EXPECT_EQ(window->Height(), widget.frameGeometry().height() * 15.0f);
}

// The focus starts at the lowest tab index and Tab follows the indices. Hiding a modal window or
// its close box ends the modal showing, and the keyboard goes back where it was.
TEST_F(QtKitTest, TabOrderAndTheFocusBeforeAndAfterAModalShowing) {
  auto window = NewWindow();
  // Created in another order than their tab indices, as the forms do; the label takes no focus.
  platform::Button& browse = window->AddButton(Design("Command4", 4950, 1860, 1890, 270, 3));
  window->AddCheckBox(Design("Check1_1", 210, 645, 2055, 375, 2));
  window->AddLabel(Design("Label2", 2325, 870, 1125, 285, 0));
  window->AddTextBox(Design("Text1", 3765, 795, 3060, 285, 4));
  platform::TextBox& text2 = window->AddTextBox(Design("Text2", 3765, 1470, 3075, 285, 1));
  window->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(*window)));
  EXPECT_TRUE(text2.HasFocus());
  std::vector<QString> visited;
  for (int i = 0; i < 4; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget()->objectName());
  }
  EXPECT_EQ(visited, (std::vector<QString>{"Check1_1", "Command4", "Text1", "Text2"}));

  browse.SetFocus();
  for (bool by_close_box : {false, true}) {
    auto chooser = NewWindow(2790, 3870);
    int close_requests = 0;
    chooser->OnCloseRequest([&] { ++close_requests; });
    QTimer::singleShot(0, [&] {
      EXPECT_EQ(QApplication::activeModalWidget(), &WidgetOf(*chooser));
      by_close_box ? void(WidgetOf(*chooser).close()) : chooser->Hide();
    });
    chooser->ShowModal();
    EXPECT_EQ(close_requests, by_close_box ? 1 : 0);
    EXPECT_FALSE(chooser->IsVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(*window))) << by_close_box;
    EXPECT_TRUE(browse.HasFocus()) << by_close_box;
  }
}

}  // namespace
