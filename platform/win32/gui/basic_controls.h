#pragma once

#include <functional>
#include <string>

#include "platform/win32/gui/native_control.h"

// Buttons, check boxes, labels and text boxes on the plain Win32 control classes.
namespace platform::win32 {

class NativeButton : public NativeControl<platform::Button> {
 public:
  NativeButton(ControlHost& host, const platform::ControlSpec& design, int id);
  std::string Caption() const override { return design_.caption; }
  void OnClick(std::function<void()> handler) override { on_click_ = std::move(handler); }
  void Notify(WORD code) override;
  void EnterPressed() override;

 private:
  std::function<void()> on_click_;
};

class NativeCheckBox : public NativeControl<platform::CheckBox> {
 public:
  NativeCheckBox(ControlHost& host, const platform::ControlSpec& design, int id);
  std::string Caption() const override { return design_.caption; }
  void SetCaption(const std::string& caption) override;
  std::int16_t Value() const override;
  void SetValue(std::int16_t value) override;
  void Notify(WORD code) override;
};

class NativeLabel : public NativeControl<platform::Label> {
 public:
  NativeLabel(ControlHost& host, const platform::ControlSpec& design, int id);
  std::string Caption() const override { return design_.caption; }
};

class NativeTextBox : public NativeControl<platform::TextBox> {
 public:
  NativeTextBox(ControlHost& host, const platform::ControlSpec& design, int id, platform::TextBoxStyle style);
  std::string Text() const override;
  void SetText(const std::string& text) override;
};

}  // namespace platform::win32
