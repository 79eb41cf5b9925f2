#pragma once

#include <QMetaObject>
#include <QObject>
#include <QWidget>
#include <vector>

#include "platform/qt/qt_look.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/twips.h"
#include "platform/window_kit.h"

namespace platform::qt {

// What every control shares: a widget owned by its window, placed in twips, named after the
// designer name. `Interface` is the control's kind in the window interface (Button, TextBox, ...).
template <class Interface>
class QtControl : public Interface {
 public:
  QtControl(QWidget& widget, const ControlSpec& design) : widget_(widget) {
    widget_.setObjectName(ToQt(design.name));
    ApplyLook(widget_, design);
    widget_.setGeometry(left_.Set(design.left, Axis::kHorizontal), top_.Set(design.top, Axis::kVertical),
                        width_.Set(design.width, Axis::kHorizontal), height_.Set(design.height, Axis::kVertical));
    widget_.show();  // shown with its window, also when added to a window already on screen
  }
  ~QtControl() override {
    for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
  }
  QtControl(const QtControl&) = delete;
  QtControl& operator=(const QtControl&) = delete;

  QWidget& widget() const { return widget_; }

  float Left() const override { return left_.Read(widget_.x(), Axis::kHorizontal); }
  float Top() const override { return top_.Read(widget_.y(), Axis::kVertical); }
  float Width() const override { return width_.Read(widget_.width(), Axis::kHorizontal); }
  float Height() const override { return height_.Read(widget_.height(), Axis::kVertical); }
  void SetLeft(float twips) override { widget_.move(left_.Set(twips, Axis::kHorizontal), widget_.y()); }
  void SetTop(float twips) override { widget_.move(widget_.x(), top_.Set(twips, Axis::kVertical)); }
  void SetWidth(float twips) override { widget_.resize(width_.Set(twips, Axis::kHorizontal), widget_.height()); }
  void SetHeight(float twips) override { widget_.resize(widget_.width(), height_.Set(twips, Axis::kVertical)); }

  void SetFocus() override { widget_.setFocus(Qt::OtherFocusReason); }
  // True when this control is its window's focus control: the one that has the keyboard focus
  // while the window is active, and gets it back when the window is activated again.
  bool HasFocus() const override {
    const QWidget* focus = widget_.window()->focusWidget();
    return focus != nullptr && (focus == &widget_ || widget_.isAncestorOf(focus));
  }

 protected:
  // Keeps a connection to the widget's signals; it is cut when the control goes, so a signal
  // raised later (the widget is deleted after its window) never reaches a destroyed control.
  void Keep(QMetaObject::Connection connection) { connections_.push_back(connection); }

 private:
  QWidget& widget_;
  TwipsMemo left_, top_, width_, height_;
  std::vector<QMetaObject::Connection> connections_;
};

}  // namespace platform::qt
