#pragma once

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/window_kit.h"

// An in-memory window kit for the window tests: windows and controls keep their geometry in twips,
// message boxes are recorded, buttons can be clicked and directory entries opened, and a test can
// act inside a modal window through a script that runs when the window's modal showing starts.
namespace fake {

class FakeWindow;

// What a test reads of every fake control: its design as changed since creation (geometry, caption).
class FakeControl {
 public:
  virtual ~FakeControl() = default;
  virtual const platform::ControlSpec& Design() const = 0;
  virtual bool TakesFocus() const { return true; }
};

// What every fake control keeps: its design, geometry and focus.
template <class Base>
class FakeControlBase : public Base, public FakeControl {
 public:
  FakeControlBase(FakeWindow& window, const platform::ControlSpec& design) : window_(window), spec_(design) {}

  const platform::ControlSpec& Design() const override { return spec_; }

  float Left() const override { return spec_.left; }
  float Top() const override { return spec_.top; }
  float Width() const override { return spec_.width; }
  float Height() const override { return spec_.height; }
  void SetLeft(float twips) override { spec_.left = twips; }
  void SetTop(float twips) override { spec_.top = twips; }
  void SetWidth(float twips) override { spec_.width = twips; }
  void SetHeight(float twips) override { spec_.height = twips; }
  void SetFocus() override;
  bool HasFocus() const override;

 protected:
  FakeWindow& window_;
  platform::ControlSpec spec_;
};

class FakeButton : public FakeControlBase<platform::Button> {
 public:
  using FakeControlBase::FakeControlBase;
  std::string Caption() const override { return spec_.caption; }
  void OnClick(std::function<void()> handler) override { on_click_ = std::move(handler); }
  // A click as the user makes it: the button takes the focus, then its handler runs.
  void Click();

 private:
  std::function<void()> on_click_;
};

class FakeCheckBox : public FakeControlBase<platform::CheckBox> {
 public:
  using FakeControlBase::FakeControlBase;
  std::string Caption() const override { return spec_.caption; }
  void SetCaption(const std::string& caption) override { spec_.caption = caption; }
  std::int16_t Value() const override { return value_; }
  void SetValue(std::int16_t value) override { value_ = value; }

 private:
  std::int16_t value_ = 0;
};

class FakeLabel : public FakeControlBase<platform::Label> {
 public:
  using FakeControlBase::FakeControlBase;
  std::string Caption() const override { return spec_.caption; }
  bool TakesFocus() const override { return false; }
};

class FakeTextBox : public FakeControlBase<platform::TextBox> {
 public:
  FakeTextBox(FakeWindow& window, const platform::ControlSpec& design, platform::TextBoxStyle style)
      : FakeControlBase(window, design), style_(style), text_(design.caption) {}
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }
  const platform::TextBoxStyle& Style() const { return style_; }

 private:
  platform::TextBoxStyle style_;
  std::string text_;
};

// Starts on the kit's current drive; changing the drive raises the change handler synchronously.
class FakeDriveList : public FakeControlBase<platform::DriveList> {
 public:
  FakeDriveList(FakeWindow& window, const platform::ControlSpec& design, platform::FileSystem& files,
                std::string drive)
      : FakeControlBase(window, design), files_(files), drive_(std::move(drive)) {}
  std::string Drive() const override { return drive_; }
  platform::Status SetDrive(const std::string& path) override;
  void OnChange(std::function<void()> handler) override { on_change_ = std::move(handler); }
  // The user picks `drive` ("d:") from the list.
  void Choose(const std::string& drive);

 private:
  platform::FileSystem& files_;
  std::string drive_;
  std::function<void()> on_change_;
};

// Starts on the kit's current drive's current folder.
class FakeDirectoryList : public FakeControlBase<platform::DirectoryList> {
 public:
  FakeDirectoryList(FakeWindow& window, const platform::ControlSpec& design, platform::FileSystem& files,
                    std::string path)
      : FakeControlBase(window, design), files_(files), path_(std::move(path)) {}
  std::string Path() const override { return path_; }
  platform::Status SetPath(const std::string& path) override;
  // The listed folders: the ancestors from the root down to the current folder, then its sub-folders.
  std::vector<std::string> Entries() const;
  // The user opens the listed entry that names `folder`; fails the test through an exception when
  // no entry does, so a test cannot open what the list does not show.
  void Open(const std::string& folder);

 private:
  platform::FileSystem& files_;
  std::string path_;
};

class FakeWindowKit;

class FakeWindow : public platform::Window {
 public:
  // The frame around the client area, so that Form2's designed client area of 7110 x 3765 twips
  // gives an outer size of 7200 x 4200.
  static constexpr float kFrameWidth = 90;
  static constexpr float kFrameHeight = 435;

  FakeWindow(FakeWindowKit& kit, const platform::WindowSpec& design);
  ~FakeWindow() override;

  const platform::WindowSpec& Design() const { return spec_; }
  bool IsModal() const { return modal_; }
  // The user closes the window from its title bar.
  void CloseFromTitleBar();

  // The controls in creation order, and by designer name.
  const std::vector<std::unique_ptr<platform::Control>>& AllControls() const { return controls_; }
  template <class T>
  T& Find(const std::string& name) const;
  // The names of the controls that take the focus, in tab order.
  std::vector<std::string> TabOrder() const;
  // The name of the control with the focus, or empty.
  const std::string& Focused() const { return focused_; }
  void SetFocused(const std::string& name) { focused_ = name; }

  float Left() const override { return left_; }
  float Top() const override { return top_; }
  float Width() const override { return spec_.client_width + kFrameWidth; }
  float Height() const override { return spec_.client_height + kFrameHeight; }
  void SetLeft(float twips) override { left_ = twips; }
  void SetTop(float twips) override { top_ = twips; }
  std::string Caption() const override { return spec_.caption; }

  platform::Button& AddButton(const platform::ControlSpec& design) override;
  platform::CheckBox& AddCheckBox(const platform::ControlSpec& design) override;
  platform::Label& AddLabel(const platform::ControlSpec& design) override;
  platform::TextBox& AddTextBox(const platform::ControlSpec& design, platform::TextBoxStyle style) override;
  platform::DriveList& AddDriveList(const platform::ControlSpec& design) override;
  platform::DirectoryList& AddDirectoryList(const platform::ControlSpec& design) override;

  void Show() override;
  void ShowModal() override;
  void Hide() override { visible_ = false; }
  bool IsVisible() const override { return visible_; }
  void OnCloseRequest(std::function<void()> handler) override { on_close_ = std::move(handler); }

 private:
  template <class T, class... Args>
  T& Add(Args&&... args);

  FakeWindowKit& kit_;
  platform::WindowSpec spec_;
  float left_ = 0, top_ = 0;
  bool visible_ = false;
  bool modal_ = false;
  std::string focused_;
  std::vector<std::unique_ptr<platform::Control>> controls_;
  std::function<void()> on_close_;
};

struct Message {
  std::string prompt;
  std::string title;
  platform::MessageIcon icon;
};

class FakeWindowKit : public platform::WindowKit {
 public:
  // Drive and directory lists take their drives and folders from `files` and start on
  // `current_drive`, the process's current drive.
  explicit FakeWindowKit(platform::FileSystem& files, std::string current_drive = "c:")
      : files_(files), current_drive_(std::move(current_drive)) {}

  void SetScreen(float width, float height) { screen_width_ = width, screen_height_ = height; }

  // The next modal showing of the window called `name` runs `script` inside it. The script must
  // leave the window hidden (by a button or by closing it); a window left open fails the test.
  void WhenModal(const std::string& name, std::function<void(FakeWindow&)> script);

  const std::vector<Message>& Messages() const { return messages_; }
  // The live window called `name`, or null.
  FakeWindow* Window(const std::string& name) const;
  // How many windows called `name` have been created so far.
  int Created(const std::string& name) const;

  std::unique_ptr<platform::Window> NewWindow(const platform::WindowSpec& design) override;
  float ScreenWidth() const override { return screen_width_; }
  float ScreenHeight() const override { return screen_height_; }
  void ShowMessage(const std::string& prompt, const std::string& title, platform::MessageIcon icon) override {
    messages_.push_back({prompt, title, icon});
  }
  int Run() override { return 0; }

 private:
  friend class FakeWindow;
  friend class FakeDriveList;
  void RunModalScript(FakeWindow& window);

  platform::FileSystem& files_;
  std::string current_drive_;
  float screen_width_ = 15360, screen_height_ = 11520;  // 1024 x 768 pixels
  std::vector<Message> messages_;
  std::vector<FakeWindow*> windows_;
  std::map<std::string, int> created_;
  std::multimap<std::string, std::function<void(FakeWindow&)>> scripts_;
};

template <class Base>
void FakeControlBase<Base>::SetFocus() {
  window_.SetFocused(spec_.name);
}

template <class Base>
bool FakeControlBase<Base>::HasFocus() const {
  return window_.Focused() == spec_.name;
}

template <class T>
T& FakeWindow::Find(const std::string& name) const {
  for (const auto& control : controls_) {
    auto* typed = dynamic_cast<T*>(control.get());
    if (typed != nullptr && typed->Design().name == name) return *typed;
  }
  throw std::logic_error(spec_.name + " has no control " + name + " of that kind");
}

}  // namespace fake
