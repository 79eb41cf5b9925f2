#include "ui/form3.h"

#include "ui/placement.h"

namespace ui {

namespace {

using enum ControlKind;

const platform::WindowSpec kForm3{
    .name = "Form3", .caption = "Installationsrapport", .client_width = 6585, .client_height = 4500};

// kind                  name     caption  left top  width  height  tab
const ControlRow kControls[] = {
    {kMultiLineTextBox, Design("Text1", "",      15,  45,  6525,  4410,   0)},
};

}  // namespace

Form3::Form3(platform::WindowKit& kit)
    : window_(kit.NewWindow(kForm3)),
      controls_(*window_, kControls),
      Text1(controls_.Get<platform::TextBox>("Text1")) {
  // A screen reader announces the report box by the window's caption, "Installationsrapport".
  window_->NameAfterWindow(Text1);
}

void Form3::Form_Load(const platform::Window& main_window) { PlaceOverMainWindow(*window_, main_window); }

}  // namespace ui
