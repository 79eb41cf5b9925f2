#pragma once

#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/window_kit.h"

// A window's controls written as a table, one row per control in the designer's creation order,
// and the lookup of the created controls by their designer names.
namespace ui {

enum class ControlKind { kButton, kCheckBox, kLabel, kTextBox, kMultiLineTextBox, kDriveList, kDirectoryList };

// The colours and font of a control; the toolkit's defaults unless given.
struct Look {
  platform::Colour background;
  platform::Colour foreground;
  platform::Font font;
};

// One row of a window's control table.
inline platform::ControlSpec Design(std::string name, std::string caption, float left, float top, float width,
                                  float height, int tab_index, const Look& look = {}) {
  return {std::move(name), std::move(caption), left, top, width, height, tab_index,
          look.background, look.foreground, look.font};
}

struct ControlRow {
  ControlKind kind;
  platform::ControlSpec design;
  std::string caption_of{};  // a label's row: the control it is the caption of, named by it for screen readers
};

// Creates the controls of `rows` on `window`, in row order, and keeps them by name; then makes each
// label the caption of the control its row names.
class Controls {
 public:
  Controls(platform::Window& window, std::span<const ControlRow> rows);

  // The control called `name`, as the kind it was created as. Throws std::logic_error when the
  // table has no such control of that kind: a fault in the form's own code.
  template <class T>
  T& Get(const std::string& name) const {
    auto found = by_name_.find(name);
    T* control = found == by_name_.end() ? nullptr : dynamic_cast<T*>(found->second);
    if (control == nullptr) throw std::logic_error("no control " + name + " of the requested kind");
    return *control;
  }

 private:
  std::map<std::string, platform::Control*> by_name_;
};

}  // namespace ui
