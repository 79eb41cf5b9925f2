#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/window_kit.h"

// An in-memory window kit for the window tests: geometry stays in twips, message boxes are
// recorded, buttons can be clicked and directory entries opened, and a test acts inside a modal
// window through a script that runs when the window's modal showing starts.
namespace fake {

struct Message {
  std::string prompt, title;
  platform::MessageIcon icon;
};

class FakeWindow;

// What the windows share with their kit.
struct FakeDesktop {
  FakeDesktop(platform::FileSystem& files, std::string drive) : files(files), current_drive(std::move(drive)) {}
  platform::FileSystem& files;
  std::string current_drive;  // the process's: drive and directory lists start on it
  float screen_width = 15360, screen_height = 11520;  // 1024 x 768 pixels
  std::vector<Message> messages;
  std::vector<FakeWindow*> windows;
  std::map<std::string, std::function<void(FakeWindow&)>> scripts;
};

// What every fake control keeps: its design as changed since creation (geometry, caption).
struct FakeControl {
  virtual ~FakeControl() = default;
  platform::ControlSpec design;
  bool takes_focus = true;
};

template <class Base>
class Fake : public Base, public FakeControl {
 public:
  // `focus` names the window's control with the focus.
  Fake(std::string& focus, const platform::ControlSpec& given) : focus_(focus) { design = given; }
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

 private:
  std::string& focus_;
};

class FakeButton : public Fake<platform::Button> {
 public:
  using Fake::Fake;
  std::string Caption() const override { return design.caption; }
  void OnClick(std::function<void()> handler) override { on_click_ = std::move(handler); }
  // A click as the user makes it: the button takes the focus, then its handler runs.
  void Click() {
    SetFocus();
    if (on_click_) on_click_();
  }

 private:
  std::function<void()> on_click_;
};

class FakeCheckBox : public Fake<platform::CheckBox> {
 public:
  using Fake::Fake;
  std::string Caption() const override { return design.caption; }
  void SetCaption(const std::string& caption) override { design.caption = caption; }
  std::int16_t Value() const override { return value_; }
  void SetValue(std::int16_t value) override { value_ = value; }

 private:
  std::int16_t value_ = 0;
};

class FakeLabel : public Fake<platform::Label> {
 public:
  FakeLabel(std::string& focus, const platform::ControlSpec& given) : Fake(focus, given) { takes_focus = false; }
  std::string Caption() const override { return design.caption; }
};

class FakeTextBox : public Fake<platform::TextBox> {
 public:
  FakeTextBox(std::string& focus, const platform::ControlSpec& given, platform::TextBoxStyle style)
      : Fake(focus, given), style(style), text_(given.caption) {}
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }
  const platform::TextBoxStyle style;

 private:
  std::string text_;
};

// Every change of drive raises the change handler synchronously, also from inside the handler.
class FakeDriveList : public Fake<platform::DriveList> {
 public:
  FakeDriveList(std::string& focus, const platform::ControlSpec& given, FakeDesktop& desktop)
      : Fake(focus, given), files_(desktop.files), drive_(desktop.current_drive) {}
  std::string Drive() const override { return drive_; }
  platform::Status SetDrive(const std::string& path) override {
    const std::string drive = path.substr(0, 2);
    const std::vector<std::string> drives = files_.Drives();
    if (std::find(drives.begin(), drives.end(), drive) == drives.end()) return platform::Status::Failure("no " + drive);
    if (drive == drive_) return platform::Status::Ok();
    drive_ = drive;
    if (on_change_) on_change_();
    return platform::Status::Ok();
  }
  void OnChange(std::function<void()> handler) override { on_change_ = std::move(handler); }

 private:
  platform::FileSystem& files_;
  std::string drive_;
  std::function<void()> on_change_;
};

class FakeDirectoryList : public Fake<platform::DirectoryList> {
 public:
  FakeDirectoryList(std::string& focus, const platform::ControlSpec& given, FakeDesktop& desktop)
      : Fake(focus, given), files_(desktop.files), path_(desktop.current_drive + "\\") {
    SetPath(desktop.current_drive);
  }
  std::string Path() const override { return path_; }
  platform::Status SetPath(const std::string& path) override {
    if (path.size() == 2) {
      platform::Result<std::string> current = files_.DriveCurrentFolder(path);
      if (current.ok()) path_ = current.value();
      return current.status();
    }
    platform::Status readable = files_.SubFolders(path).status();
    if (readable.ok()) path_ = path.size() > 3 && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
    return readable;
  }
  // The user opens a listed entry: an ancestor of the current folder or one of its sub-folders.
  void Open(const std::string& folder) { SetPath(folder); }

 private:
  platform::FileSystem& files_;
  std::string path_;
};

class FakeWindow : public platform::Window {
 public:
  // The frame around the client area: Form2's client area of 7110 x 3765 gives 7200 x 4200 outside.
  static constexpr float kFrameWidth = 90, kFrameHeight = 435;

  FakeWindow(FakeDesktop& desktop, const platform::WindowSpec& given) : desktop_(desktop), design_(given) {
    desktop_.windows.push_back(this);
  }
  ~FakeWindow() override { std::erase(desktop_.windows, this); }

  const platform::WindowSpec& Design() const { return design_; }
  // The user closes the window from its title bar.
  void CloseFromTitleBar() {
    if (on_close_) on_close_();
    visible_ = false;
  }
  template <class T>
  T& Find(const std::string& name) const {
    for (const auto& control : controls_) {
      auto* typed = dynamic_cast<T*>(control.get());
      if (typed != nullptr && typed->design.name == name) return *typed;
    }
    throw std::logic_error(design_.name + " has no control " + name + " of that kind");
  }
  // Every control, in the order of creation.
  std::vector<const FakeControl*> Controls() const {
    std::vector<const FakeControl*> all;
    for (const auto& control : controls_) all.push_back(dynamic_cast<const FakeControl*>(control.get()));
    return all;
  }
  // The name of the control with the focus, or empty.
  std::string focused;

  float Left() const override { return left_; }
  float Top() const override { return top_; }
  float Width() const override { return design_.client_width + kFrameWidth; }
  float Height() const override { return design_.client_height + kFrameHeight; }
  void SetLeft(float twips) override { left_ = twips; }
  void SetTop(float twips) override { top_ = twips; }
  std::string Caption() const override { return design_.caption; }

  platform::Button& AddButton(const platform::ControlSpec& d) override { return Add<FakeButton>(d); }
  platform::CheckBox& AddCheckBox(const platform::ControlSpec& d) override { return Add<FakeCheckBox>(d); }
  platform::Label& AddLabel(const platform::ControlSpec& d) override { return Add<FakeLabel>(d); }
  platform::TextBox& AddTextBox(const platform::ControlSpec& d, platform::TextBoxStyle style) override {
    return Add<FakeTextBox>(d, style);
  }
  platform::DriveList& AddDriveList(const platform::ControlSpec& d) override { return Add<FakeDriveList>(d, desktop_); }
  platform::DirectoryList& AddDirectoryList(const platform::ControlSpec& d) override {
    return Add<FakeDirectoryList>(d, desktop_);
  }

  // The first showing puts the focus on the focusable control with the lowest tab index; a later
  // one keeps it where it was.
  void Show() override {
    visible_ = true;
    if (shown_before_) return;
    shown_before_ = true;
    const FakeControl* first = nullptr;
    for (const auto& control : controls_) {
      auto* fake = dynamic_cast<const FakeControl*>(control.get());
      if (fake->takes_focus && (first == nullptr || fake->design.tab_index < first->design.tab_index)) first = fake;
    }
    focused = first != nullptr ? first->design.name : "";
  }
  // Runs the script the test gave for this window; it must leave the window hidden.
  void ShowModal() override {
    Show();
    auto script = desktop_.scripts.extract(design_.name);
    if (script.empty()) throw std::logic_error("no script for the modal showing of " + design_.name);
    script.mapped()(*this);
    if (visible_) throw std::logic_error(design_.name + " was left open by its modal script");
  }
  void Hide() override { visible_ = false; }
  bool IsVisible() const override { return visible_; }
  void OnCloseRequest(std::function<void()> handler) override { on_close_ = std::move(handler); }

 private:
  template <class T, class... Args>
  T& Add(Args&&... args) {
    controls_.push_back(std::make_unique<T>(focused, std::forward<Args>(args)...));
    return static_cast<T&>(*controls_.back());
  }

  FakeDesktop& desktop_;
  platform::WindowSpec design_;
  float left_ = 0, top_ = 0;
  bool visible_ = false;
  bool shown_before_ = false;
  std::vector<std::unique_ptr<platform::Control>> controls_;
  std::function<void()> on_close_;
};

class FakeWindowKit : public platform::WindowKit, public FakeDesktop {
 public:
  explicit FakeWindowKit(platform::FileSystem& files, std::string current_drive = "c:")
      : FakeDesktop(files, std::move(current_drive)) {}

  // The next modal showing of the window called `name` runs `script` inside it.
  void WhenModal(const std::string& name, std::function<void(FakeWindow&)> script) { scripts[name] = script; }
  // The live window called `name`, or null.
  FakeWindow* Window(const std::string& name) const {
    for (FakeWindow* window : windows) {
      if (window->Design().name == name) return window;
    }
    return nullptr;
  }

  std::unique_ptr<platform::Window> NewWindow(const platform::WindowSpec& given) override {
    return std::make_unique<FakeWindow>(*this, given);
  }
  float ScreenWidth() const override { return screen_width; }
  float ScreenHeight() const override { return screen_height; }
  void ShowMessage(const std::string& prompt, const std::string& title, platform::MessageIcon icon) override {
    messages.push_back({prompt, title, icon});
  }
  int Run() override { return 0; }
};

}  // namespace fake
