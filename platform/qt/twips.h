#pragma once

// Twips (1/1440 inch) to the toolkit's logical pixels and back, through the primary screen's
// logical DPI. The forms compute in twips; only the calls into Qt see pixels.
namespace platform::qt {

enum class Axis { kHorizontal, kVertical };

double LogicalDpi(Axis axis);
int TwipsToPixels(float twips, Axis axis);
float PixelsToTwips(int pixels, Axis axis);

// One coordinate of a control or window: the twips value last set, with the pixel value it became.
// Reading back gives that twips value exactly while the pixel value is unchanged, so a form that
// adds to what it set (a top plus a height) works on its own numbers, not on rounded pixels.
class TwipsMemo {
 public:
  // Remembers `twips` and returns the pixel value to give Qt.
  int Set(float twips, Axis axis);
  // The twips value of the widget's current pixel value `pixels`.
  float Read(int pixels, Axis axis) const;

 private:
  bool held_ = false;
  float twips_ = 0;
  int pixels_ = 0;
};

}  // namespace platform::qt
