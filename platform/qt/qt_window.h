#pragma once

#include <memory>
#include <vector>

#include "platform/qt/twips.h"
#include "platform/window_kit.h"

class QWidget;

namespace platform::qt {

class WindowWidget;

// A top-level window with a fixed client area, a title bar with a close box, and its controls.
// The Qt widget lives a little longer than this object: it is deleted from the event loop, so
// that a window may be destroyed by one of its own event handlers (closing it from the title bar).
class QtWindow : public Window {
 public:
  QtWindow(const WindowSpec& design, FileSystem& files);
  ~QtWindow() override;
  QtWindow(const QtWindow&) = delete;
  QtWindow& operator=(const QtWindow&) = delete;

  float Left() const override;
  float Top() const override;
  float Width() const override;
  float Height() const override;
  void SetLeft(float twips) override;
  void SetTop(float twips) override;
  std::string Caption() const override;

  Button& AddButton(const ControlSpec& design) override;
  CheckBox& AddCheckBox(const ControlSpec& design) override;
  Label& AddLabel(const ControlSpec& design) override;
  TextBox& AddTextBox(const ControlSpec& design, TextBoxStyle style) override;
  DriveList& AddDriveList(const ControlSpec& design) override;
  DirectoryList& AddDirectoryList(const ControlSpec& design) override;
  void SetCaptionOf(Control& control, const Label& caption) override;
  void NameAfterWindow(Control& control) override;

  void Show() override;
  void ShowModal() override;
  void Hide() override;
  bool IsVisible() const override;
  void OnCloseRequest(std::function<void()> handler) override;

  QWidget& widget() const;

 private:
  template <class Kind, class... Arguments>
  Kind& Add(const ControlSpec& design, Arguments&&... arguments);
  struct TabStop {
    int tab_index;
    QWidget* widget;
    const Control* control;
  };
  // The controls by tab index; equal indices in the order of creation.
  std::vector<TabStop> InTabOrder() const;
  // The widget of a control of this window.
  QWidget& WidgetOf(const Control& control) const;
  // Orders the focus chain by tab index; controls that take no focus are passed over by Qt.
  void ChainTabOrder();
  // Shows and activates the window; the first time, gives the focus to the first control.
  void Present();

  WindowWidget* widget_;
  FileSystem& files_;
  std::string start_drive_;  // where the drive and directory lists start; looked up once
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<TabStop> tab_stops_;  // in the order of creation
  TwipsMemo left_, top_;
  bool shown_before_ = false;
  // Cleared when this object is destroyed, for a modal showing that outlives it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace platform::qt
