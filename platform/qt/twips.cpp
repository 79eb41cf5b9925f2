#include "platform/qt/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtMath>

namespace platform::qt {

double LogicalDpi(Axis axis) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 96.0;  // no screen yet: Qt's own assumption
  return axis == Axis::kHorizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
}

int TwipsToPixels(float twips, Axis axis) {
  return qRound(static_cast<double>(twips) * LogicalDpi(axis) / 1440.0);
}

float PixelsToTwips(int pixels, Axis axis) {
  return static_cast<float>(pixels * 1440.0 / LogicalDpi(axis));
}

int TwipsMemo::Set(float twips, Axis axis) {
  held_ = true;
  twips_ = twips;
  pixels_ = TwipsToPixels(twips, axis);
  return pixels_;
}

float TwipsMemo::Read(int pixels, Axis axis) const {
  if (held_ && pixels == pixels_) return twips_;
  return PixelsToTwips(pixels, axis);
}

}  // namespace platform::qt
