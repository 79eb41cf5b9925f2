#include "platform/qt/qt_look.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

#include "platform/qt/qt_text.h"

namespace platform::qt {

std::optional<QColor> ToQColor(const Colour& colour) {
  switch (colour.kind) {
    case Colour::Kind::kDefault:
      return std::nullopt;
    case Colour::Kind::kRgb:
      return QColor(colour.red, colour.green, colour.blue);
    case Colour::Kind::kWindowBackground:
      // The background of a window's working area (the white behind text), not the dialog face.
      return QApplication::palette().color(QPalette::Base);
    case Colour::Kind::kWindowText:
      return QApplication::palette().color(QPalette::Text);
  }
  return std::nullopt;
}

namespace {

void ApplyColours(QWidget& widget, const ControlSpec& design) {
  const std::optional<QColor> background = ToQColor(design.background);
  const std::optional<QColor> foreground = ToQColor(design.foreground);
  if (!background && !foreground) return;
  QPalette palette = widget.palette();
  if (background) {
    // Window for labels and check boxes, Base for text boxes and lists, Button for buttons.
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button}) palette.setColor(role, *background);
    widget.setAutoFillBackground(true);
  }
  if (foreground) {
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) palette.setColor(role, *foreground);
  }
  widget.setPalette(palette);
}

// The family to ask for: `family` when the system has it, else the first it has of the sans-serif
// fonts that share the narrow metrics of the Windows dialog fonts. Texts designed for those fonts
// fit their boxes in these; the usual Linux default (DejaVu Sans) is wider and would be cut off.
QString NearestFamily(const QString& family) {
  if (QFontDatabase::hasFamily(family)) return family;
  static const char* const kNarrowSans[] = {"Microsoft Sans Serif", "Arial", "Liberation Sans", "Arimo",
                                            "Nimbus Sans", "Helvetica"};
  for (const char* candidate : kNarrowSans) {
    if (QFontDatabase::hasFamily(QString::fromLatin1(candidate))) return QString::fromLatin1(candidate);
  }
  return family;  // the style hint then picks a sans-serif font
}

void ApplyFont(QWidget& widget, const Font& request) {
  if (request.family.empty() && request.points <= 0 && !request.bold) return;
  QFont font = widget.font();
  if (!request.family.empty()) {
    font.setFamily(NearestFamily(ToQt(request.family)));
    // A family the system does not have is matched to its nearest sans-serif font.
    font.setStyleHint(QFont::SansSerif);
  }
  if (request.points > 0) font.setPointSizeF(request.points);
  if (request.bold) font.setBold(true);
  widget.setFont(font);
}

}  // namespace

QFont DialogFont() {
  QFont font(NearestFamily(QStringLiteral("MS Sans Serif")));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(8.0);
  return font;
}

void ApplyLook(QWidget& widget, const ControlSpec& design) {
  ApplyColours(widget, design);
  ApplyFont(widget, design.font);
}

}  // namespace platform::qt
