#pragma once

#include <QColor>
#include <QFont>
#include <optional>

#include "platform/window_kit.h"

class QWidget;

namespace platform::qt {

// The Qt colour of `colour`; none for the toolkit's default.
std::optional<QColor> ToQColor(const Colour& colour);

// The font the windows were designed with: the Windows dialog font, 8 points, or its nearest
// narrow sans-serif look-alike, so that captions fit the boxes laid out for it.
QFont DialogFont();

// Applies the design's background, foreground and font to `widget`.
void ApplyLook(QWidget& widget, const ControlSpec& design);

}  // namespace platform::qt
