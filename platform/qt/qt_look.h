#pragma once

#include <QColor>
#include <optional>

#include "platform/window_kit.h"

class QWidget;

namespace platform::qt {

// The Qt colour of `colour`; none for the toolkit's default.
std::optional<QColor> ToQColor(const Colour& colour);

// Applies the spec's background, foreground and font to `widget`.
void ApplyLook(QWidget& widget, const ControlSpec& spec);

}  // namespace platform::qt
