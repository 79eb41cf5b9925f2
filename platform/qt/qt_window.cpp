#include "platform/qt/qt_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QHideEvent>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <stdexcept>

#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_directory_list.h"
#include "platform/qt/qt_drive_list.h"
#include "platform/qt/qt_text.h"

namespace platform::qt {

namespace {

constexpr const char* kApplicationIcon = ":/ebrona/app.ico";

}  // namespace

// The Qt side of a window: reports the close box to its owner and ends a modal showing when hidden.
class WindowWidget : public QWidget {
 public:
  std::function<void()> on_close;
  QEventLoop* modal_loop = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override {
    // A copy: the handler may destroy the window and with it this member's owner.
    const std::function<void()> handler = on_close;
    if (handler) handler();
    event->accept();  // Qt hides the window
  }

  void hideEvent(QHideEvent* event) override {
    QWidget::hideEvent(event);
    // Hidden by the program or closed; a minimised window is not hidden and keeps its showing.
    if (modal_loop != nullptr && isHidden()) modal_loop->quit();
  }
};

QtWindow::QtWindow(const WindowSpec& design, FileSystem& files) : widget_(new WindowWidget), files_(files) {
  widget_->setObjectName(ToQt(design.name));
  widget_->setWindowTitle(ToQt(design.caption));
  // A fixed frame: title bar with system menu and close box, no resizing, no maximising, and a
  // minimise button only when the design asks for one.
  const Qt::WindowFlags minimise = design.minimise_button ? Qt::WindowMinimizeButtonHint : Qt::WindowFlags();
  widget_->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint | minimise);
  widget_->setFixedSize(TwipsToPixels(design.client_width, Axis::kHorizontal),
                        TwipsToPixels(design.client_height, Axis::kVertical));
  if (design.application_icon && QFile::exists(kApplicationIcon)) widget_->setWindowIcon(QIcon(kApplicationIcon));
}

QtWindow::~QtWindow() {
  *alive_ = false;
  widget_->hide();  // ends a modal showing
  widget_->on_close = nullptr;
  widget_->modal_loop = nullptr;
  controls_.clear();
  widget_->deleteLater();
}

QWidget& QtWindow::widget() const { return *widget_; }

float QtWindow::Left() const { return left_.Read(widget_->x(), Axis::kHorizontal); }
float QtWindow::Top() const { return top_.Read(widget_->y(), Axis::kVertical); }
float QtWindow::Width() const { return PixelsToTwips(widget_->frameGeometry().width(), Axis::kHorizontal); }
float QtWindow::Height() const { return PixelsToTwips(widget_->frameGeometry().height(), Axis::kVertical); }
// QWidget::move places a window's frame, so Left and Top are outer values.
void QtWindow::SetLeft(float twips) { widget_->move(left_.Set(twips, Axis::kHorizontal), widget_->y()); }
void QtWindow::SetTop(float twips) { widget_->move(widget_->x(), top_.Set(twips, Axis::kVertical)); }

std::string QtWindow::Caption() const { return FromQt(widget_->windowTitle()); }

template <class Kind, class... Arguments>
Kind& QtWindow::Add(const ControlSpec& design, Arguments&&... arguments) {
  auto control = std::make_unique<Kind>(*widget_, design, std::forward<Arguments>(arguments)...);
  Kind& added = *control;
  controls_.push_back(std::move(control));
  tab_stops_.push_back({design.tab_index, &added.widget(), &added});
  ChainTabOrder();
  return added;
}

Button& QtWindow::AddButton(const ControlSpec& design) { return Add<QtButton>(design); }
CheckBox& QtWindow::AddCheckBox(const ControlSpec& design) { return Add<QtCheckBox>(design); }
Label& QtWindow::AddLabel(const ControlSpec& design) { return Add<QtLabel>(design); }
TextBox& QtWindow::AddTextBox(const ControlSpec& design, TextBoxStyle style) { return Add<QtTextBox>(design, style); }

DriveList& QtWindow::AddDriveList(const ControlSpec& design) {
  if (start_drive_.empty()) start_drive_ = StartDrive(files_);
  return Add<QtDriveList>(design, files_, start_drive_);
}

DirectoryList& QtWindow::AddDirectoryList(const ControlSpec& design) {
  if (start_drive_.empty()) start_drive_ = StartDrive(files_);
  return Add<QtDirectoryList>(design, files_, start_drive_);
}

// The label becomes the box's buddy, whose text Qt's accessibility gives the box as its name. The
// forms' captions carry no "&", so the buddy brings no keyboard shortcut with it.
void QtWindow::SetCaptionOf(Control& control, const Label& caption) {
  dynamic_cast<QLabel&>(WidgetOf(caption)).setBuddy(&WidgetOf(control));
}

void QtWindow::NameAfterWindow(Control& control) { WidgetOf(control).setAccessibleName(widget_->windowTitle()); }

QWidget& QtWindow::WidgetOf(const Control& control) const {
  for (const TabStop& stop : tab_stops_) {
    if (stop.control == &control) return *stop.widget;
  }
  throw std::logic_error("not a control of this window");
}

std::vector<QtWindow::TabStop> QtWindow::InTabOrder() const {
  std::vector<TabStop> order = tab_stops_;
  std::stable_sort(order.begin(), order.end(),
                   [](const TabStop& a, const TabStop& b) { return a.tab_index < b.tab_index; });
  return order;
}

void QtWindow::ChainTabOrder() {
  const std::vector<TabStop> order = InTabOrder();
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1].widget, order[i].widget);
}

void QtWindow::Present() {
  const bool first = !shown_before_;
  shown_before_ = true;
  widget_->show();
  widget_->raise();
  widget_->activateWindow();
  if (!first) return;
  for (const TabStop& stop : InTabOrder()) {
    if ((stop.widget->focusPolicy() & Qt::TabFocus) && stop.widget->isEnabled()) {
      stop.widget->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

void QtWindow::Show() { Present(); }

void QtWindow::ShowModal() {
  const std::shared_ptr<bool> alive = alive_;
  if (!widget_->isHidden() && !widget_->isModal()) widget_->hide();  // modality is set on a hidden window
  widget_->setWindowModality(Qt::ApplicationModal);
  // The window that had the keyboard gets it back afterwards, with the focus where it was, so the
  // user can go on with the keyboard alone.
  const QPointer<QWidget> previous = QApplication::activeWindow();
  const QPointer<QWidget> previous_focus = previous ? previous->focusWidget() : nullptr;
  QEventLoop loop;
  widget_->modal_loop = &loop;
  Present();
  if (!widget_->isHidden()) loop.exec(QEventLoop::DialogExec);
  if (previous && previous != widget_ && previous->isVisible()) {
    previous->activateWindow();
    if (previous_focus) previous_focus->setFocus(Qt::ActiveWindowFocusReason);
  }
  if (!*alive) return;  // destroyed while shown (by a handler of its own)
  widget_->modal_loop = nullptr;
  if (widget_->isHidden()) widget_->setWindowModality(Qt::NonModal);
}

void QtWindow::Hide() { widget_->hide(); }

bool QtWindow::IsVisible() const { return widget_->isVisible(); }

void QtWindow::OnCloseRequest(std::function<void()> handler) { widget_->on_close = std::move(handler); }

}  // namespace platform::qt
