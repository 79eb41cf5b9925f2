#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/status.h"

// Windows and controls as the forms see them. Every position and size is in twips (1/1440 inch),
// held as single-precision numbers; the implementation converts to device units through the
// screen's logical DPI (at 96 dots per inch 15 twips make one pixel). Control positions are
// relative to the window's client area; window positions are outer values relative to the screen.
namespace platform {

// A colour as the forms name it: the toolkit's default, a fixed RGB value, or a system colour.
struct Colour {
  enum class Kind { kDefault, kRgb, kWindowBackground, kWindowText };
  Kind kind = Kind::kDefault;
  std::uint8_t red = 0, green = 0, blue = 0;

  static Colour Default() { return {}; }
  static Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return {Kind::kRgb, r, g, b}; }
  static Colour WindowBackground() { return {Kind::kWindowBackground}; }
  static Colour WindowText() { return {Kind::kWindowText}; }
};

// A font request; an empty family means the toolkit's default dialog font. A family that does not
// exist is replaced by the nearest sans-serif font.
struct Font {
  std::string family;
  float points = 0;  // 0: the default size
  bool bold = false;
};

// What every control is created with: its designer name (also its object name, so tests and
// accessibility tools find it), its caption or text, its designed place and its tab index.
struct ControlSpec {
  std::string name;
  std::string caption;
  float left = 0, top = 0, width = 0, height = 0;
  int tab_index = 0;
  Colour background;
  Colour foreground;
  Font font;
};

class Control {
 public:
  virtual ~Control() = default;
  virtual float Left() const = 0;
  virtual float Top() const = 0;
  virtual float Width() const = 0;
  virtual float Height() const = 0;
  virtual void SetLeft(float twips) = 0;
  virtual void SetTop(float twips) = 0;
  virtual void SetWidth(float twips) = 0;
  virtual void SetHeight(float twips) = 0;
  virtual void SetFocus() = 0;
  virtual bool HasFocus() const = 0;
};

class Button : public Control {
 public:
  virtual std::string Caption() const = 0;
  // Called when the button is clicked, or pressed with the keyboard while it has the focus.
  virtual void OnClick(std::function<void()> handler) = 0;
};

class CheckBox : public Control {
 public:
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // 0 unticked, 1 ticked, 2 greyed.
  virtual std::int16_t Value() const = 0;
  virtual void SetValue(std::int16_t value) = 0;
};

class Label : public Control {
 public:
  virtual std::string Caption() const = 0;
};

class TextBox : public Control {
 public:
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
};

// The drives of the system, one of them current, shown as a drop-down list.
class DriveList : public Control {
 public:
  // The current drive, "c:".
  virtual std::string Drive() const = 0;
  // Makes the drive that `path` names current ("c:\", "d:", "d:\kopior"); fails only for a drive
  // that is not in the list. Every change of the current drive, by the user or by this call,
  // raises the change handler, synchronously.
  virtual Status SetDrive(const std::string& path) = 0;
  virtual void OnChange(std::function<void()> handler) = 0;
};

// A folder's ancestors from the drive's root down, then its sub-folders. The user changes the
// current folder by opening an entry (double-click or Enter); highlighting one does not.
class DirectoryList : public Control {
 public:
  // The current folder, "c:\" or "c:\users\ebrona" (no trailing "\" below the root).
  virtual std::string Path() const = 0;
  // Moves to `path`; a bare drive ("d:") means that drive's current folder. Fails, keeping the
  // current folder, when the folder cannot be read.
  virtual Status SetPath(const std::string& path) = 0;
};

struct TextBoxStyle {
  bool multi_line = false;  // each CR LF starts a new line; long lines wrap at word boundaries
  bool scroll_bars = false;
};

struct WindowSpec {
  std::string name;
  std::string caption;
  float client_width = 0, client_height = 0;  // twips
  bool application_icon = false;              // the program's own icon; otherwise none of its own
  bool minimise_button = false;               // a minimise button beside the close box
};

// A top-level window with a fixed frame (not resizable) and a close box in its title bar. Escape
// does nothing in it; only the title bar closes it.
class Window {
 public:
  virtual ~Window() = default;

  // Outer geometry in twips, relative to the screen.
  virtual float Left() const = 0;
  virtual float Top() const = 0;
  virtual float Width() const = 0;
  virtual float Height() const = 0;
  virtual void SetLeft(float twips) = 0;
  virtual void SetTop(float twips) = 0;

  virtual std::string Caption() const = 0;

  // The controls, created in the order of the calls; owned by the window.
  virtual Button& AddButton(const ControlSpec& design) = 0;
  virtual CheckBox& AddCheckBox(const ControlSpec& design) = 0;
  virtual Label& AddLabel(const ControlSpec& design) = 0;
  virtual TextBox& AddTextBox(const ControlSpec& design, TextBoxStyle style = {}) = 0;
  virtual DriveList& AddDriveList(const ControlSpec& design) = 0;
  virtual DirectoryList& AddDirectoryList(const ControlSpec& design) = 0;

  // Screen readers name `control`, a control of this window, by the text of `caption`, the label
  // that stands beside it as its caption; a text box has no text of its own that says what it is
  // for. The order in which Tab walks the controls stays that of their tab indices.
  virtual void SetCaptionOf(Control& control, const Label& caption) = 0;
  // Screen readers name `control` by this window's caption: the one box of a window whose title
  // says what it holds.
  virtual void NameAfterWindow(Control& control) = 0;

  // Shows the window without blocking. The first time the focus goes to the control with the
  // lowest tab index that can take it; a later showing keeps it where it was when the window was
  // hidden.
  virtual void Show() = 0;
  // Shows the window modally, with no owner window: returns when it is hidden or closed. While it
  // is shown the other windows take no input.
  virtual void ShowModal() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() const = 0;

  // Called when the user closes the window by its title bar (close box or system menu). The window
  // is hidden after the handler returns.
  virtual void OnCloseRequest(std::function<void()> handler) = 0;
};

enum class MessageIcon { kWarning, kInformation };

// Creates windows and shows message boxes; one per program.
class WindowKit {
 public:
  virtual ~WindowKit() = default;

  virtual std::unique_ptr<Window> NewWindow(const WindowSpec& design) = 0;

  // The screen's size in twips.
  virtual float ScreenWidth() const = 0;
  virtual float ScreenHeight() const = 0;

  // A modal message box with `prompt` (CR LF line breaks), `title`, the icon and an OK button.
  // Returns when it is closed.
  virtual void ShowMessage(const std::string& prompt, const std::string& title, MessageIcon icon) = 0;

  // Runs the event loop until the program ends.
  virtual int Run() = 0;
};

// The host's window kit (Qt on Linux, Win32 on Windows), linked by CMake. Drive and directory lists
// take their drives and folders from `files`. Returns null, after `error` has been given a one-line
// reason, when no display can be opened.
std::unique_ptr<WindowKit> NewNativeWindowKit(FileSystem& files, std::string& error);

}  // namespace platform
