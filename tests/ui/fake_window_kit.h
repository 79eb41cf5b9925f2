#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/window_kit.h"

// An in-memory window kit for the window tests: geometry stays in twips, message boxes are
// recorded, buttons can be clicked and directory entries opened, and a test acts inside a modal
// window through a script that runs when the window's modal showing starts.
namespace fake {

class FakeWindow;

// What the windows share with their kit.
struct FakeDesktop {
  platform::FileSystem& files;
  const std::string current_drive;  // the process's
  float screen_width = 15360, screen_height = 11520;  // 1024 x 768 pixels
  std::vector<std::string> messages{};               // "title (icon): prompt"
  // The next modal showing of the window called by the key runs the script inside it.
  std::map<std::string, std::function<void(FakeWindow&)>> when_modal{};
};

// One fake stands for every kind of control; the window hands it out as the kind the form asks
// for. It keeps its design as changed since creation. As a drive list it starts on the process's
// drive, as a directory list on that drive's current folder.
class FakeControl : public platform::Button, public platform::CheckBox, public platform::Label,
                    public platform::TextBox, public platform::DriveList, public platform::DirectoryList {
 public:
  // `focus` names the window's control with the focus.
  FakeControl(FakeDesktop& desktop, std::string& focus, const platform::ControlSpec& given, bool takes_focus,
              platform::TextBoxStyle style)
      : design(given), text(given.caption), drive(desktop.current_drive), style(style), takes_focus(takes_focus),
        files_(desktop.files), focus_(focus) {
    SetPath(drive);
  }

  platform::ControlSpec design;
  std::string text, drive, path;
  std::int16_t value = 0;
  const platform::TextBoxStyle style;
  const bool takes_focus;

  float Left() const override { return design.left; }
  float Top() const override { return design.top; }
  float Width() const override { return design.width; }
  float Height() const override { return design.height; }
  void SetLeft(float twips) override { design.left = twips; }
  void SetTop(float twips) override { design.top = twips; }
  void SetWidth(float twips) override { design.width = twips; }
  void SetHeight(float twips) override { design.height = twips; }
  void SetFocus() override { focus_ = design.name; }
  bool HasFocus() const override { return focus_ == design.name; }
  std::string Caption() const override { return design.caption; }
  void SetCaption(const std::string& caption) override { design.caption = caption; }
  std::int16_t Value() const override { return value; }
  void SetValue(std::int16_t given) override { value = given; }
  std::string Text() const override { return text; }
  void SetText(const std::string& given) override { text = given; }
  void OnClick(std::function<void()> handler) override { on_event_ = std::move(handler); }
  void OnChange(std::function<void()> handler) override { on_event_ = std::move(handler); }
  // A click as the user makes it: the button takes the focus, then its handler runs.
  void Click() {
    SetFocus();
    if (on_event_) on_event_();
  }

  // A change of drive raises the change handler synchronously, also from inside the handler.
  std::string Drive() const override { return drive; }
  platform::Status SetDrive(const std::string& given) override {
    const std::string before = std::exchange(drive, given.substr(0, 2));
    if (before != drive && on_event_) on_event_();
    return platform::Status::Ok();
  }
  // The form moves the directory list only to a drive's current folder; the user opens any entry.
  std::string Path() const override { return path; }
  platform::Status SetPath(const std::string& given_drive) override {
    platform::Result<std::string> current = files_.DriveCurrentFolder(given_drive);
    if (current.ok()) path = current.value();
    return current.status();
  }
  void Open(const std::string& folder) { path = folder; }

 private:
  platform::FileSystem& files_;
  std::string& focus_;
  std::function<void()> on_event_;
};

class FakeWindow : public platform::Window {
 public:
  FakeWindow(FakeDesktop& desktop, const platform::WindowSpec& given) : design(given), desktop_(desktop) {}

  const platform::WindowSpec design;
  std::map<std::string, std::unique_ptr<FakeControl>> controls;  // by name
  std::string focused;  // the name of the control with the focus, or empty

  FakeControl& Find(const std::string& name) const { return *controls.at(name); }
  // The names of the controls that take the focus, in the order of their tab indices.
  std::vector<std::string> TabOrder() const {
    std::map<int, std::string> by_index;
    for (const auto& [name, control] : controls) if (control->takes_focus) by_index[control->design.tab_index] = name;
    std::vector<std::string> names;
    for (const auto& entry : by_index) names.push_back(entry.second);
    return names;
  }
  // The user closes the window from its title bar.
  void CloseFromTitleBar() {
    if (on_close_) on_close_();
    visible_ = false;
  }

  float Left() const override { return left_; }
  float Top() const override { return top_; }
  // The frame around the client area: Form2's client area of 7110 x 3765 gives 7200 x 4200 outside.
  float Width() const override { return design.client_width + 90; }
  float Height() const override { return design.client_height + 435; }
  void SetLeft(float twips) override { left_ = twips; }
  void SetTop(float twips) override { top_ = twips; }
  std::string Caption() const override { return design.caption; }

  platform::Button& AddButton(const platform::ControlSpec& given) override { return Add(given); }
  platform::CheckBox& AddCheckBox(const platform::ControlSpec& given) override { return Add(given); }
  platform::Label& AddLabel(const platform::ControlSpec& given) override { return Add(given, false); }
  platform::TextBox& AddTextBox(const platform::ControlSpec& given, platform::TextBoxStyle style) override {
    return Add(given, true, style);
  }
  platform::DriveList& AddDriveList(const platform::ControlSpec& given) override { return Add(given); }
  platform::DirectoryList& AddDirectoryList(const platform::ControlSpec& given) override { return Add(given); }
  // What screen readers make of the controls is for the real kits to show.
  void SetCaptionOf(platform::Control&, const platform::Label&) override {}
  void NameAfterWindow(platform::Control&) override {}

  // The first showing puts the focus on the first control in tab order; a later one keeps it.
  void Show() override {
    if (focused.empty()) focused = TabOrder().front();
    visible_ = true;
  }
  // Runs the script the test gave for this window; it must leave the window hidden.
  void ShowModal() override {
    Show();
    desktop_.when_modal.at(design.name)(*this);  // throws when the test gave no script
    desktop_.when_modal.erase(design.name);
    if (visible_) throw std::logic_error(design.name + " was left open by its modal script");
  }
  void Hide() override { visible_ = false; }
  bool IsVisible() const override { return visible_; }
  void OnCloseRequest(std::function<void()> handler) override { on_close_ = std::move(handler); }

 private:
  FakeControl& Add(const platform::ControlSpec& given, bool takes_focus = true, platform::TextBoxStyle style = {}) {
    return *(controls[given.name] = std::make_unique<FakeControl>(desktop_, focused, given, takes_focus, style));
  }

  FakeDesktop& desktop_;
  float left_ = 0, top_ = 0;
  bool visible_ = false;
  std::function<void()> on_close_;
};

class FakeWindowKit : public platform::WindowKit, public FakeDesktop {
 public:
  explicit FakeWindowKit(platform::FileSystem& files, std::string current_drive = "c:")
      : FakeDesktop{files, std::move(current_drive)} {}

  std::unique_ptr<platform::Window> NewWindow(const platform::WindowSpec& given) override {
    return std::make_unique<FakeWindow>(*this, given);
  }
  float ScreenWidth() const override { return screen_width; }
  float ScreenHeight() const override { return screen_height; }
  void ShowMessage(const std::string& prompt, const std::string& title, platform::MessageIcon icon) override {
    messages.push_back(title + (icon == platform::MessageIcon::kWarning ? " (warning): " : " (information): ") +
                       prompt);
  }
  int Run() override { return 0; }
};

}  // namespace fake
