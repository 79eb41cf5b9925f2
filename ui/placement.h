#pragma once

#include "platform/window_kit.h"

namespace ui {

// Puts `window`'s top-left corner a quarter of the main window's outer width right of its left
// edge and a quarter of its outer height below its top edge. Computed in single precision and
// applied as it is: not rounded, not kept on the screen. Left is set before Top.
inline void PlaceOverMainWindow(platform::Window& window, const platform::Window& main_window) {
  window.SetLeft(main_window.Width() / 4.0f + main_window.Left());
  window.SetTop(main_window.Height() / 4.0f + main_window.Top());
}

}  // namespace ui
