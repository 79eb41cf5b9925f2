#pragma once

#include <functional>

#include "platform/qt/qt_control.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The simple controls: button, check box, label, text box.
namespace platform::qt {

class QtButton : public QtControl<Button> {
 public:
  QtButton(QWidget& parent, const ControlSpec& design);
  std::string Caption() const override;
  void OnClick(std::function<void()> handler) override { on_click_ = std::move(handler); }

 private:
  QPushButton& button_;
  std::function<void()> on_click_;
};

class QtCheckBox : public QtControl<CheckBox> {
 public:
  QtCheckBox(QWidget& parent, const ControlSpec& design);
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  std::int16_t Value() const override;
  // 0, 1 or 2; other values leave the box as it is.
  void SetValue(std::int16_t value) override;

 private:
  QCheckBox& box_;
};

class QtLabel : public QtControl<Label> {
 public:
  QtLabel(QWidget& parent, const ControlSpec& design);
  std::string Caption() const override;

 private:
  QLabel& label_;
};

class QtTextBox : public QtControl<TextBox> {
 public:
  QtTextBox(QWidget& parent, const ControlSpec& design, TextBoxStyle style);
  std::string Text() const override;
  void SetText(const std::string& text) override;

 private:
  QLineEdit* line_ = nullptr;       // one line
  QPlainTextEdit* lines_ = nullptr;  // multi-line
};

}  // namespace platform::qt
