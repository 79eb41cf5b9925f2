#pragma once

#include <QString>
#include <string>

// The interface's strings are UTF-8 with CR LF line breaks; Qt's are UTF-16 with LF.
namespace platform::qt {

inline QString ToQt(const std::string& text) { return QString::fromStdString(text); }
inline std::string FromQt(const QString& text) { return text.toStdString(); }

// "a\r\nb" -> "a\nb", for the widgets that break lines at LF.
inline QString ToQtLines(const std::string& text) {
  return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
// "a\nb" -> "a\r\nb".
inline std::string FromQtLines(QString text) {
  return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}

}  // namespace platform::qt
