#include "tests/ui/fake_window_kit.h"

#include <algorithm>
#include <cctype>

namespace fake {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// "c:\" stays; "c:\a\" becomes "c:\a".
std::string WithoutTrailingSeparator(std::string folder) {
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string Child(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

}  // namespace

void FakeButton::Click() {
  SetFocus();
  if (on_click_) on_click_();
}

platform::Status FakeDriveList::SetDrive(const std::string& path) {
  const std::string drive = Lower(path.substr(0, 2));
  const std::vector<std::string> drives = files_.Drives();
  if (std::find(drives.begin(), drives.end(), drive) == drives.end()) {
    return platform::Status::Failure("no drive " + drive);
  }
  if (drive == drive_) return platform::Status::Ok();
  drive_ = drive;
  if (on_change_) on_change_();
  return platform::Status::Ok();
}

void FakeDriveList::Choose(const std::string& drive) {
  if (!SetDrive(drive).ok()) throw std::logic_error("the drive list does not offer " + drive);
}

platform::Status FakeDirectoryList::SetPath(const std::string& path) {
  if (path.size() == 2 && path[1] == ':') {
    platform::Result<std::string> current = files_.DriveCurrentFolder(path);
    if (!current.ok()) return current.status();
    path_ = current.value();
    return platform::Status::Ok();
  }
  platform::Result<std::vector<std::string>> readable = files_.SubFolders(path);
  if (!readable.ok()) return readable.status();
  path_ = WithoutTrailingSeparator(path);
  return platform::Status::Ok();
}

std::vector<std::string> FakeDirectoryList::Entries() const {
  std::vector<std::string> entries{path_.substr(0, 3)};
  for (std::size_t at = path_.find('\\', 3); entries.back() != path_; at = path_.find('\\', at + 1)) {
    entries.push_back(path_.substr(0, at));
  }
  platform::Result<std::vector<std::string>> subfolders = files_.SubFolders(path_);
  if (subfolders.ok()) {
    for (const std::string& name : subfolders.value()) entries.push_back(Child(path_, name));
  }
  return entries;
}

void FakeDirectoryList::Open(const std::string& folder) {
  const std::vector<std::string> entries = Entries();
  auto listed = std::find_if(entries.begin(), entries.end(),
                             [&](const std::string& entry) { return Lower(entry) == Lower(folder); });
  if (listed == entries.end()) throw std::logic_error("the directory list does not show " + folder);
  SetPath(*listed);
}

FakeWindow::FakeWindow(FakeWindowKit& kit, const platform::WindowSpec& design) : kit_(kit), spec_(design) {
  kit_.windows_.push_back(this);
}

FakeWindow::~FakeWindow() { std::erase(kit_.windows_, this); }

template <class T, class... Args>
T& FakeWindow::Add(Args&&... args) {
  auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
  T& added = *control;
  controls_.push_back(std::move(control));
  return added;
}

platform::Button& FakeWindow::AddButton(const platform::ControlSpec& design) { return Add<FakeButton>(design); }
platform::CheckBox& FakeWindow::AddCheckBox(const platform::ControlSpec& design) { return Add<FakeCheckBox>(design); }
platform::Label& FakeWindow::AddLabel(const platform::ControlSpec& design) { return Add<FakeLabel>(design); }
platform::TextBox& FakeWindow::AddTextBox(const platform::ControlSpec& design, platform::TextBoxStyle style) {
  return Add<FakeTextBox>(design, style);
}
platform::DriveList& FakeWindow::AddDriveList(const platform::ControlSpec& design) {
  return Add<FakeDriveList>(design, kit_.files_, kit_.current_drive_);
}
platform::DirectoryList& FakeWindow::AddDirectoryList(const platform::ControlSpec& design) {
  platform::Result<std::string> start = kit_.files_.DriveCurrentFolder(kit_.current_drive_);
  return Add<FakeDirectoryList>(design, kit_.files_, start.ok() ? start.value() : kit_.current_drive_ + "\\");
}

std::vector<std::string> FakeWindow::TabOrder() const {
  std::vector<const FakeControl*> focusable;
  for (const auto& control : controls_) {
    auto* fake = dynamic_cast<const FakeControl*>(control.get());
    if (fake->TakesFocus()) focusable.push_back(fake);
  }
  std::stable_sort(focusable.begin(), focusable.end(),
                   [](const FakeControl* a, const FakeControl* b) { return a->Design().tab_index < b->Design().tab_index; });
  std::vector<std::string> names;
  for (const FakeControl* control : focusable) names.push_back(control->Design().name);
  return names;
}

void FakeWindow::Show() {
  visible_ = true;
  const std::vector<std::string> order = TabOrder();
  focused_ = order.empty() ? "" : order.front();
}

void FakeWindow::ShowModal() {
  Show();
  modal_ = true;
  kit_.RunModalScript(*this);
  modal_ = false;
  if (visible_) throw std::logic_error(spec_.name + " was left open by its modal script");
}

void FakeWindow::CloseFromTitleBar() {
  if (on_close_) on_close_();
  visible_ = false;
}

void FakeWindowKit::WhenModal(const std::string& name, std::function<void(FakeWindow&)> script) {
  scripts_.emplace(name, std::move(script));
}

FakeWindow* FakeWindowKit::Window(const std::string& name) const {
  for (FakeWindow* window : windows_) {
    if (window->Design().name == name) return window;
  }
  return nullptr;
}

int FakeWindowKit::Created(const std::string& name) const {
  auto found = created_.find(name);
  return found == created_.end() ? 0 : found->second;
}

std::unique_ptr<platform::Window> FakeWindowKit::NewWindow(const platform::WindowSpec& design) {
  ++created_[design.name];
  return std::make_unique<FakeWindow>(*this, design);
}

void FakeWindowKit::RunModalScript(FakeWindow& window) {
  auto script = scripts_.find(window.Design().name);
  if (script == scripts_.end()) throw std::logic_error("no script for the modal showing of " + window.Design().name);
  std::function<void(FakeWindow&)> act = std::move(script->second);
  scripts_.erase(script);
  act(window);
}

}  // namespace fake
