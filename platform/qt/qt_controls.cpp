#include "platform/qt/qt_controls.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextOption>

namespace platform::qt {

namespace {

// A push button that Enter presses as well as Space while it has the focus, as on Windows, where
// the focused button is the one Enter acts on.
class EnterPressedButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      click();
      return;
    }
    QPushButton::keyPressEvent(event);
  }
};

QPushButton& NewButton(QWidget& parent, const ControlSpec& design) {
  auto* button = new EnterPressedButton(ToQt(design.caption), &parent);
  // No default (Enter) or cancel (Escape) button: a button acts only when clicked or pressed
  // while it has the focus.
  button->setAutoDefault(false);
  button->setDefault(false);
  return *button;
}

// A check box that shows 0, 1 or 2 (greyed) but that a click only ticks or unticks: a greyed box
// becomes ticked, as a Windows check box does.
class TickingCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }
};

QLabel& NewLabel(QWidget& parent, const ControlSpec& design) {
  auto* label = new QLabel(ToQt(design.caption), &parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return *label;
}

QWidget& NewTextEditor(QWidget& parent, const ControlSpec& design, TextBoxStyle style) {
  const Qt::ScrollBarPolicy bars = style.scroll_bars ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  if (!style.multi_line) return *new QLineEdit(ToQt(design.caption), &parent);
  auto* editor = new QPlainTextEdit(ToQtLines(design.caption), &parent);
  editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // Long lines break at a blank; a word wider than the box breaks where it must.
  editor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  editor->setHorizontalScrollBarPolicy(bars);
  editor->setVerticalScrollBarPolicy(bars);
  // Tab stops every eight average characters, as in the Windows edit control, so TAB-separated
  // report columns line up the same way there and here.
  editor->setTabStopDistance(8 * editor->fontMetrics().averageCharWidth());
  // TAB moves on to the next control, so the window can be worked with the keyboard alone.
  editor->setTabChangesFocus(true);
  return *editor;
}

}  // namespace

QtButton::QtButton(QWidget& parent, const ControlSpec& design)
    : QtControl(NewButton(parent, design), design), button_(static_cast<QPushButton&>(widget())) {
  Keep(QObject::connect(&button_, &QPushButton::clicked, &button_, [this] {
    const std::function<void()> handler = on_click_;  // the handler may replace itself
    if (handler) handler();
  }));
}

std::string QtButton::Caption() const { return FromQt(button_.text()); }

QtCheckBox::QtCheckBox(QWidget& parent, const ControlSpec& design)
    : QtControl(*new TickingCheckBox(ToQt(design.caption), &parent), design), box_(static_cast<QCheckBox&>(widget())) {}

std::string QtCheckBox::Caption() const { return FromQt(box_.text()); }

void QtCheckBox::SetCaption(const std::string& caption) { box_.setText(ToQt(caption)); }

std::int16_t QtCheckBox::Value() const {
  switch (box_.checkState()) {
    case Qt::Unchecked:
      return 0;
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
  }
  return 0;
}

void QtCheckBox::SetValue(std::int16_t value) {
  switch (value) {
    case 0:
      box_.setCheckState(Qt::Unchecked);
      break;
    case 1:
      box_.setCheckState(Qt::Checked);
      break;
    case 2:
      box_.setTristate(true);
      box_.setCheckState(Qt::PartiallyChecked);
      break;
    default:
      break;
  }
}

QtLabel::QtLabel(QWidget& parent, const ControlSpec& design)
    : QtControl(NewLabel(parent, design), design), label_(static_cast<QLabel&>(widget())) {}

std::string QtLabel::Caption() const { return FromQt(label_.text()); }

QtTextBox::QtTextBox(QWidget& parent, const ControlSpec& design, TextBoxStyle style)
    : QtControl(NewTextEditor(parent, design, style), design) {
  if (style.multi_line) {
    lines_ = static_cast<QPlainTextEdit*>(&widget());
  } else {
    line_ = static_cast<QLineEdit*>(&widget());
  }
}

std::string QtTextBox::Text() const {
  return lines_ != nullptr ? FromQtLines(lines_->toPlainText()) : FromQt(line_->text());
}

void QtTextBox::SetText(const std::string& text) {
  if (lines_ != nullptr) {
    lines_->setPlainText(ToQtLines(text));
  } else {
    line_->setText(ToQt(text));
  }
}

}  // namespace platform::qt
