#include "ui/control_table.h"

namespace ui {

namespace {

platform::Control& Create(platform::Window& window, const ControlRow& row) {
  switch (row.kind) {
    case ControlKind::kButton: return window.AddButton(row.design);
    case ControlKind::kCheckBox: return window.AddCheckBox(row.design);
    case ControlKind::kLabel: return window.AddLabel(row.design);
    case ControlKind::kTextBox: return window.AddTextBox(row.design);
    case ControlKind::kMultiLineTextBox:
      return window.AddTextBox(row.design, platform::TextBoxStyle{.multi_line = true, .scroll_bars = false});
    case ControlKind::kDriveList: return window.AddDriveList(row.design);
    case ControlKind::kDirectoryList: return window.AddDirectoryList(row.design);
  }
  throw std::logic_error("unknown control kind for " + row.design.name);
}

}  // namespace

Controls::Controls(platform::Window& window, std::span<const ControlRow> rows) {
  for (const ControlRow& row : rows) {
    auto [where, added] = by_name_.emplace(row.design.name, &Create(window, row));
    if (!added) throw std::logic_error("control " + where->first + " appears twice in the table");
  }
  for (const ControlRow& row : rows) {
    if (!row.caption_of.empty()) {
      window.SetCaptionOf(Get<platform::Control>(row.caption_of), Get<platform::Label>(row.design.name));
    }
  }
}

}  // namespace ui
