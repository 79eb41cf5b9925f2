#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "platform/qt/twips.h"
#include "tests/platform/qt/qt_kit_fixture.h"

namespace {

TEST_F(QtKitTest, TwipsBecomeWholePixelsAndReadBackAsSetWhileThePixelsStand) {
  ASSERT_EQ(platform::qt::LogicalDpi(platform::qt::Axis::kHorizontal), 96.0);  // the offscreen screen
  ASSERT_EQ(platform::qt::LogicalDpi(platform::qt::Axis::kVertical), 96.0);
  struct Case {
    float twips;
    int pixels;
  } cases[] = {{210, 14}, {-15, -1}, {2325.5f, 155}, {22, 1}, {23, 2}, {4950, 330}};
  for (const Case& c : cases) {
    auto window = NewWindow();
    platform::Button& button = window->AddButton(Design("Command1", "x", c.twips, c.twips, c.twips + 1500, c.twips + 1500));
    QWidget& widget = Find<QWidget>(*window, "Command1");
    EXPECT_EQ(widget.geometry(), QRect(c.pixels, c.pixels, widget.width(), widget.height())) << c.twips;
    EXPECT_EQ(button.Left(), c.twips);
    EXPECT_EQ(button.Top(), c.twips);
    EXPECT_EQ(button.Width(), c.twips + 1500);
    button.SetTop(c.twips + 375);
    EXPECT_EQ(button.Top(), c.twips + 375);
    EXPECT_EQ(button.Left(), c.twips);  // moving one way keeps the other value
    widget.move(widget.x() + 1, widget.y());
    EXPECT_EQ(button.Left(), (c.pixels + 1) * 15.0f) << "a pixel value Qt changed is read afresh";
  }
}

TEST_F(QtKitTest, WindowHasFixedClientAreaAndOuterGeometryInTwips) {
  auto window = kit_->NewWindow({"Form2", "Installera systemfiler för Ebronaprogrammen", 7110, 3765, true});
  QWidget& widget = WidgetOf(*window);
  EXPECT_EQ(widget.objectName(), "Form2");
  EXPECT_EQ(window->Caption(), "Installera systemfiler för Ebronaprogrammen");
  EXPECT_EQ(widget.minimumSize(), QSize(474, 251));
  EXPECT_EQ(widget.maximumSize(), QSize(474, 251));

  window->SetLeft(kit_->ScreenWidth() / 5);
  window->SetTop(kit_->ScreenHeight() / 6);
  window->Show();
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  EXPECT_EQ(kit_->ScreenWidth(), screen.width() * 15.0f);
  EXPECT_EQ(window->Left(), kit_->ScreenWidth() / 5);
  EXPECT_EQ(window->Top(), kit_->ScreenHeight() / 6);
  EXPECT_EQ(widget.frameGeometry().topLeft(), QPoint(qRound(screen.width() / 5.0), qRound(screen.height() / 6.0)));
  EXPECT_EQ(window->Width(), widget.frameGeometry().width() * 15.0f);
  EXPECT_EQ(window->Height(), widget.frameGeometry().height() * 15.0f);
  window->Hide();
  EXPECT_FALSE(window->IsVisible());
}

TEST_F(QtKitTest, FocusStartsAtLowestTabIndexAndTabFollowsTabIndex) {
  auto window = NewWindow();
  // Created in another order than their tab indices, as the forms do; the label takes no focus.
  window->AddButton(Design("Command4", "Bläddra", 4950, 1860, 1890, 270, 3));
  window->AddCheckBox(Design("Check1_1", "", 210, 645, 2055, 375, 2));
  window->AddLabel(Design("Label2", "Installera i", 2325, 870, 1125, 285, 0));
  window->AddTextBox(Design("Text1", "", 3765, 795, 3060, 285, 4));
  platform::TextBox& text2 = window->AddTextBox(Design("Text2", "", 3765, 1470, 3075, 285, 1));
  window->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(*window)));
  EXPECT_TRUE(text2.HasFocus());

  std::vector<QString> visited;
  for (int i = 0; i < 5; ++i) {
    visited.push_back(QApplication::focusWidget()->objectName());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(visited, (std::vector<QString>{"Text2", "Check1_1", "Command4", "Text1", "Text2"}));
}

TEST_F(QtKitTest, ModalShowingEndsWhenHiddenOrClosed) {
  auto window = NewWindow();
  QWidget& widget = WidgetOf(*window);
  QTimer::singleShot(0, [&] {
    EXPECT_EQ(QApplication::activeModalWidget(), &widget);
    window->Hide();
  });
  window->ShowModal();
  EXPECT_FALSE(window->IsVisible());

  int close_requests = 0;
  window->OnCloseRequest([&] { ++close_requests; });
  QTimer::singleShot(0, [&] { widget.close(); });  // what the close box does
  window->ShowModal();
  EXPECT_EQ(close_requests, 1);
  EXPECT_FALSE(window->IsVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtKitTest, AfterAModalShowingTheKeyboardGoesBackWhereItWas) {
  auto main_window = NewWindow();
  main_window->AddTextBox(Design("Text1", "", 3765, 795, 3060, 285, 0));
  platform::Button& browse = main_window->AddButton(Design("Command4", "Bläddra", 4950, 1860, 1890, 270, 1));
  main_window->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(*main_window)));
  browse.SetFocus();
  for (bool by_close_box : {false, true}) {
    auto chooser = NewWindow(2790, 3870);
    QTimer::singleShot(0, [&] {
      if (by_close_box) WidgetOf(*chooser).close();
      else chooser->Hide();
    });
    chooser->ShowModal();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&WidgetOf(*main_window))) << by_close_box;
    EXPECT_TRUE(browse.HasFocus()) << by_close_box;
    EXPECT_EQ(QApplication::focusWidget(), &Find<QWidget>(*main_window, "Command4")) << by_close_box;
  }
}

TEST_F(QtKitTest, WindowDiscardedByItsOwnCloseHandlerEndsTheModalShowing) {
  auto window = NewWindow();
  QWidget* widget = &WidgetOf(*window);
  window->AddButton(Design("Command1", "OK", 417, 3390, 855, 360, 0));
  window->OnCloseRequest([&] { window.reset(); });
  QTimer::singleShot(0, [&] { widget->close(); });
  platform::Window* showing = window.get();
  showing->ShowModal();
  EXPECT_EQ(window, nullptr);
}

TEST_F(QtKitTest, MessageBoxShowsPromptTitleIconAndOneOkButton) {
  struct Case {
    platform::MessageIcon icon;
    QMessageBox::Icon expected;
  } cases[] = {{platform::MessageIcon::kWarning, QMessageBox::Warning},
               {platform::MessageIcon::kInformation, QMessageBox::Information}};
  for (const Case& c : cases) {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      text = box->text();
      title = box->windowTitle();
      icon = box->icon();
      buttons = static_cast<int>(box->buttons().size());
      box->button(QMessageBox::Ok)->click();
    });
    kit_->ShowMessage("Kan inte skapa c:\\a.\r\n<Åtkomst nekad>", "Skapa ny mapp", c.icon);
    EXPECT_EQ(text, "Kan inte skapa c:\\a.\n<Åtkomst nekad>");
    EXPECT_EQ(title, "Skapa ny mapp");
    EXPECT_EQ(icon, c.expected);
    EXPECT_EQ(buttons, 1);
  }
}

}  // namespace
