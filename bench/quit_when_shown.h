#pragma once

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

// Ends the event loop as soon as a visible top-level window is exposed, that is, drawn on the
// screen: the moment a person would see the window. Checked on every pass of the event loop.
inline void QuitWhenShown() {
  auto* check = new QTimer(QCoreApplication::instance());
  check->setInterval(0);
  QObject::connect(check, &QTimer::timeout, [check] {
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
      if (window->isVisible() && window->isExposed()) {
        check->stop();
        QCoreApplication::exit(0);  // quit() would first ask the windows to close
        return;
      }
    }
  });
  check->start();
}
