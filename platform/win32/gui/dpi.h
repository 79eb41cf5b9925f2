#pragma once

#include <windows.h>

// Dots per inch and the conversion between twips (1/1440 inch) and device pixels. The process is
// per-monitor DPI aware, so pixels are physical pixels and every length is scaled here.
namespace platform::win32 {

// Declares the process DPI aware: per monitor (version 2) where the system offers it, else system
// wide. The functions are looked up at run time because older systems lack them.
void MakeProcessDpiAware();

// The logical DPI of the screen, the scale of screen coordinates.
UINT ScreenDpi();

// The DPI of the monitor that shows `window`; the screen's where the system cannot tell.
UINT WindowDpi(HWND window);

int TwipsToPixels(float twips, UINT dpi);
float PixelsToTwips(int pixels, UINT dpi);

// The outer size of a window of `style` whose client area is `client_width` by `client_height`
// pixels, with the frame metrics of `dpi`.
SIZE OuterSize(int client_width, int client_height, DWORD style, DWORD ex_style, UINT dpi);

// A coordinate that reads back in twips exactly as it was last set, as long as the window still
// stands on the pixel that value gave; after a move by the user it reads the pixel in twips.
class TwipsCoordinate {
 public:
  float Read(int pixels, UINT dpi) const { return remembered_ && pixels == pixels_ ? twips_ : PixelsToTwips(pixels, dpi); }
  void Remember(float twips, int pixels) {
    twips_ = twips;
    pixels_ = pixels;
    remembered_ = true;
  }

 private:
  float twips_ = 0;
  int pixels_ = 0;
  bool remembered_ = false;
};

}  // namespace platform::win32
